// The kernel and system services of the window-system stand-in, in one include.
#pragma once

#include "platform/win/kernel/Drives.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Folders.h"
#include "platform/win/kernel/Handles.h"
#include "platform/win/kernel/Identity.h"
#include "platform/win/kernel/Locale.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/kernel/Priority.h"
#include "platform/win/kernel/Security.h"
#include "platform/win/kernel/SystemInfo.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/kernel/TimeZone.h"
