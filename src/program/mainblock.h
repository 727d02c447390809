// The program's main block: it opens the files the forms need while they are
// created, shows the start-up error form when that fails, and otherwise
// creates one instance of every form and runs until the start screen closes.
#pragma once

#include <string>
#include <vector>

#include "ui/form.h"

namespace program {

// The files the start-up opens: users, system parameters, administrations,
// language and installation hint.
extern std::string StartupFileCodes;

// Empties StartupFileCodes, as at program start (the forms are ended by
// DestroyForms).
void ResetMainBlockState();

// Creates every form in the program's order (the start screen first), each
// with its creation handler, and sets the forms' globals.
void CreateForms();
// Destroys the forms in reverse order and clears their globals.
void DestroyForms();
// The forms that exist, in creation order.
const std::vector<ui::Form*>& ProgramForms();

// Registers the event boundary's clean-up for the file set (RunProgram does
// it; tests that drive the whole program do it too).
void RegisterEventBoundary();

// Runs the program in the working folder `startFolder` (absolute, CP1252,
// ending in "/") with the backend already installed; returns the process's
// exit code.
int RunProgram(const std::string& startFolder);

}  // namespace program
