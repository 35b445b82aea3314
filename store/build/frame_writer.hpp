#pragma once

#include <string>

#include "store/build/build.hpp"

namespace ostrel::store {

std::string write_json(const FeatureFrame& frame);
std::string write_csv(const FeatureFrame& frame);

}  // namespace ostrel::store
