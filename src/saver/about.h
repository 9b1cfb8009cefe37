// The About box text, built from the version and the current year.
#pragma once
#include <string>

#include "platform/environment.h"

namespace orv::saver {

std::string AboutText(const platform::Version& version, int year);
std::string AboutTitle();

} // namespace orv::saver
