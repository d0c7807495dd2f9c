// The program's entry point: start-up, the message loop, and the exit code.
#pragma once

// Returns 0 on every path; that is the process's exit code.
int WinMain();
