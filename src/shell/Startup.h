#pragma once

namespace pixoral {

// The whole program: the window with an optional file, or batch mode.
int pixoralMain(int argc, char** argv);

}  // namespace pixoral
