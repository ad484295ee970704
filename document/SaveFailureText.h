#pragma once

#include "platform/FileBytes.h"

#include <string>

// The reason a save failed, as one Japanese sentence for the user.
std::string SaveFailureText(FileBytes::WriteStatus status);
