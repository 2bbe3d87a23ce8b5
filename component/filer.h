// Reading components from a stored description and writing them back.
#pragma once

#include <cstdint>
#include <vector>

#include "component/classes.h"
#include "component/stream.h"

// Reads `stored` into `root`, which must be of the stored class or a
// descendant: creates the stored children by registered class name with
// `root` as owner, sets properties in stored order (events bind to methods
// registered on `root`), hands byte blocks to their objects' readers, and
// calls Loaded on every component read, after the whole description.
// Throws EReadError naming the component and property at fault.
void ReadComponent(TComponent& root, const TStoredObject& stored, const TClassRegistry& classes);
void ReadComponent(TComponent& root, const std::vector<std::uint8_t>& bytes, const TClassRegistry& classes);

// The stored description of `root` and the components it owns: published
// properties in declaration order (values at their default, empty strings
// and lists, unassigned events left out), then byte blocks.
TStoredObject WriteComponent(TComponent& root);
std::vector<std::uint8_t> WriteComponentBytes(TComponent& root);
