// The end-to-end suite's entry point: which program to start comes from the
// command line (see launcher.h); the rest are GoogleTest's own options.
#include "fixture.h"

#include <iostream>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    try {
        auto plan = e2e::LaunchPlan::from_args(argc, argv);
        ::testing::AddGlobalTestEnvironment(new e2e::Desktop(std::move(plan)));
    } catch (std::exception const& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
    return RUN_ALL_TESTS();
}
