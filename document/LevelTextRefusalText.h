#pragma once

#include "document/LevelTextReader.h"

#include <string>

// Why a level text was refused, as a person reads it, without the place.
std::string LevelTextRefusalEnglish(const LevelTextReader::Result& result);
std::string LevelTextRefusalJapanese(const LevelTextReader::Result& result);
