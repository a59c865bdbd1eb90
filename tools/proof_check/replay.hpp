// Replaying the steps of a saturation refutation.
//
// A step names its rule, where in its parents the rule applies (literal
// numbers from 1, sides, argument positions) and the terms its parents'
// variables are bound to.  The replay instantiates each parent by its
// bindings (a variable left unbound stays itself: any instance of a clause
// follows from it), applies the rule there, insisting that the terms it
// identifies are identical, drops literals t != t and repeated literals,
// and compares the result with the printed clause up to a renaming of
// variables and the order of literals.  Nothing is searched for: a step
// that needs a unifier or a position other than the recorded ones does
// not replay.
#pragma once

#include <string>
#include <vector>

#include "tools/proof_check/tstp.hpp"

namespace proof_check {

// The rules a saturation refutation may use.
bool is_saturation_rule(const std::string& rule);

// Empty when `line` follows from `parents` (in the order the line cites
// them) by its rule; otherwise what does not replay.
std::string replay_step(const tstp::Refutation& refutation, const tstp::Line& line,
                        const std::vector<const tstp::Line*>& parents);

}  // namespace proof_check
