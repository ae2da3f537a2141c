#pragma once
// Makes a failing sequence short enough to read: drops every step it can do without.
#include <functional>

#include "tests/host/interleaving/sequence.h"

namespace interleaving {

// The shortest sequence, by dropping steps one at a time, for which `fails` still holds.
Sequence Shrink(Sequence sequence, const std::function<bool(const Sequence&)>& fails);

}  // namespace interleaving
