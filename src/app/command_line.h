#pragma once

#include <QString>

namespace tarvik {

// The program without its window, for scripts and scheduled jobs:
//   tarvik export --format vcard|ics|csv|txt|semicolon|xml FILE.ctc OUT
//   tarvik import --format vcard|csv|txt|semicolon|dbf FILE.ctc IN...
//   tarvik --help, tarvik --version
// The same commands as the windows run, over QCoreApplication. Exit status 0
// on success, 1 with a French message on standard error when a file cannot be
// read or written (nothing is written then), 2 with the usage text when the
// command line cannot be understood.
namespace commandline {

// True when the arguments (program name first) ask for one of these rather
// than for the window.
bool wanted(int argc, char** argv);

// Runs it and returns the exit status.
int run(int argc, char** argv);

QString usageText();

} // namespace commandline

} // namespace tarvik
