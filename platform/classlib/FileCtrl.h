// Unit FileCtrl: file-name helpers for controls that show paths.
#pragma once

#include "platform/classlib/Graphics.h"

// FileName shortened to fit MaxLen pixels on Canvas: the folders after the drive are
// replaced by "..." one at a time from the left ("C:\...\c\file.txt"); the drive and the
// name (the last part) always stay, so the shortest form "C:\...\file.txt" may still be
// wider than MaxLen. A name that fits, or one without folders to replace, comes back as it
// is.
AnsiString MinimizeName(const AnsiString& FileName, TCanvas* Canvas, int MaxLen);
