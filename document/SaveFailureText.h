#pragma once

#include "platform/FileBytes.h"

#include <string>

// The reason a save failed, as one Japanese sentence for the user.
std::string SaveFailureText(FileBytes::WriteStatus status);
// What a save that stands could not carry over from the file it replaced, one
// line each, for the user; empty when it kept everything.
std::string NotKeptText(const FileBytes::NotKept& notKept);
