#pragma once
// The program's start-up: the application object, its fourteen windows in their order,
// and the start-up notice over the disabled main window.

// Creates the windows in order through the application's create-form call; the first,
// the main window, becomes the application's main form.
void CreateApplicationForms();

// Initialises the application, titles it, creates the windows, has the main window shown
// when the loop runs and shows the start-up notice. The caller then runs the loop.
void StartUp();
