// Writing of text form resources, the counterpart of FormReader.
#pragma once

#include <string>

#include "platform/components/Component.h"

// The resource text of root and the components it nests (TComponent::GetChildren), each property in
// declared order. An ordinal property is left out when it holds its declared default and always written
// when it declares none; a string is left out when empty, a float when zero, a string list when empty,
// an event when unassigned or bound to no published method of root, a component reference when empty.
// Nested persistents are written as their dotted properties.
std::string WriteComponentResource(TComponent* root);
