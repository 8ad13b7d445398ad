#pragma once
// The program's start-up: the application object, its fourteen windows in their order,
// and the start-up notice over the disabled main window.

// Creates the windows in order through the application's create-form call; the first,
// the main window, becomes the application's main form.
void CreateApplicationForms();

// Clears the fourteen windows' global references, once the windows themselves are gone.
void ForgetApplicationForms();

// Initialises the application, titles it, creates the windows, has the main window shown
// when the loop runs and shows the start-up notice. The caller then runs the loop.
void StartUp();

// The program's end, once the loop has ended: the application object frees the windows, last
// created first, so the main window goes last and its destruction closes the port and the
// adapter connection; then the application object and the Qt application go.
void ShutDown();
