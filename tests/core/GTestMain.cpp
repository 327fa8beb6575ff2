// main() for the GoogleTest executables: a core application object first, so
// that QStandardPaths and friends work as in the program.
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    EnsureCoreApplication();
    return RUN_ALL_TESTS();
}
