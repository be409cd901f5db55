#pragma once
#include <string>

// Puts the finished temporary file in the target's place in one step; an existing target keeps its
// attributes where the system can keep them. false leaves the target as it was.
bool ReplaceWithFile(const std::string& target, const std::string& temporary);
