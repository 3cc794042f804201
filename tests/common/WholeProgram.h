#pragma once
// The assembled program's windows for one test. Header only: it needs the application, which only the
// tests of the assembled program link.

#include "TestProgram.h"
#include "app/Forms.h"

struct WholeProgram : TestProgram {
    Forms forms{shell};
};
