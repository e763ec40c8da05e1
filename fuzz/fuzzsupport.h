#pragma once

// What every fuzz target shares: one Qt application on the offscreen platform, private settings
// and data folders and a dialog service that never blocks.
#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// Once per process: the application, the folders and the dialog service.
void initApplication();
// Forgets what the dialog service recorded, so that a long run does not grow.
void forgetDialogs();

}  // namespace fuzzsupport
