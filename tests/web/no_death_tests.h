// Node cannot fork, so GoogleTest has no death tests in WebAssembly. The tests
// that end the process run natively and under ASan; here they show as skipped.
#pragma once

#define EXPECT_EXIT(...) GTEST_SKIP() << "death tests need fork(), which Node has not"
