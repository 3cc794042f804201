#pragma once
// Tests that hand an export to a real reader (python3-ezdxf, LibreCAD, rsvg-convert): where one is
// missing the test is skipped, but under CI (the environment variable CI set) it fails, so that a CI run
// never passes without having read the files.

#include <QtTest>

// Ends the running test function when `missing` holds: skipped, or failed under CI.
#define QUILLET_REQUIRE_READERS(missing, what)                                                               \
    do {                                                                                                     \
        if (missing) {                                                                                       \
            if (qEnvironmentVariableIsSet("CI")) {                                                           \
                QFAIL(what " (required under CI)");                                                          \
            }                                                                                                \
            QSKIP(what);                                                                                     \
        }                                                                                                    \
    } while (false)
