#pragma once

// Ctrl+C and SIGTERM (on Windows Ctrl+C, Ctrl+Break and closing the console) ask the run to
// stop: it rolls back at the end of the line in work. A second Ctrl+C ends the program at once;
// the server then rolls the open transaction back itself.
namespace StopSignal {

void install();
bool requested();
// The stop has been handled; a closing console may now end the program.
void handled();

}  // namespace StopSignal
