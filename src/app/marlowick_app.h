#pragma once

// The program's entry: checks that an X display is there, makes sure only
// one Marlowick runs per user, installs the AppDelegate and runs until
// "Quit", Ctrl+Q, SIGTERM or SIGINT. Returns the exit status.
//
// The program never quits because a window closed. Nothing is written at
// exit: every change was saved when it was made.
class MarlowickApp
{
public:
    static int run(int argc, char **argv);
};
