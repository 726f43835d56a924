// The component library's unit start-up and close-down, run by each program's start-up
// before its entry point and undone at exit (and again by tests). The units start in their
// dependency order: the theme binding, the global theme manager, the application object
// with its settings store, instance mutex and timer pool, then the operating-system flags,
// so the application object is built before those flags are set, then the global
// container with its four empty lists, then the button unit (no glyph cache yet, the
// built-in glyph strip registered). Close-down runs the
// other way round.
#pragma once

void OBLInitializeUnits();
void OBLFinalizeUnits();
