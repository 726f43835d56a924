// Start-up and close-down of the units linked into Importa, in link order. The entry point
// runs them around the application; tests run them around each case.
#pragma once

// The program's name in what it writes on standard error.
inline constexpr const char* kProgramName = "Importa";

void InitializeUnits();
void FinalizeUnits();

// Registers Unit1's form description compiled into the program (generated at build time).
void RegisterUnit1FormDescription();
