#pragma once
// Interruptions of a console program: Ctrl+C or Ctrl+Break, the console
// window closed, SIGINT, SIGTERM or SIGHUP.
//
// An interruption that comes while nothing is being made ends the program
// at once, the system's way. While work whose leftovers must go is under way
// (an InterruptionsDeferred lives), it instead stops the child process the
// program waits for and raises Interrupted(); the work stops at its next
// step and removes what it made, and EndIfInterrupted() then ends the
// program as the interruption would have. A second interruption ends it at
// once.

// Takes over the interruptions for this process; once, at start-up.
void CatchInterruptions();

// Whether an interruption has come and waits for the work to stop.
bool Interrupted();

// Ends the program, the way the interruption asked for, if one has come.
void EndIfInterrupted();

class InterruptionsDeferred {
 public:
  InterruptionsDeferred();
  ~InterruptionsDeferred();
  InterruptionsDeferred(const InterruptionsDeferred&) = delete;
  InterruptionsDeferred& operator=(const InterruptionsDeferred&) = delete;
};
