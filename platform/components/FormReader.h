// Reading of text form resources: creates the components a resource declares, sets their published
// properties in the resource's order, binds handlers by name and calls Loaded.
#pragma once

#include "platform/components/Component.h"

class TMetaClass;

// Reads one resource over root and then calls Loaded on root and every component the resource named,
// root first, then the others in the order the resource gives them.
//
// The format: an `object Name: TClass` block (or `inherited Name: TClass` for a resource read over a
// base class's one) holding `Property = value` lines and nested blocks, closed by `end`. Values:
// integers (also $hex), floats, strings ('it''s', #13#10, parts joined by '+'), True/False,
// identifiers (enumerations, handlers, component names), sets [a, b] and string lists ( 'a' 'b' ).
// Nested persistents are set through dotted names (Font.Name = ...); a string list also as
// `Params.Strings = (...)`. Nested `object` blocks are created by the class registry, owned by root,
// and take the enclosing component as parent component; an `inherited` block names a component that
// root already owns. Handlers are found on root's own class first, then its bases, and bound to root.
// Errors raise EReadError with the line number.
void ReadComponentResource(TComponent* root, const char* resourceText);

// Reads the resources of root's classes, from the first class below stopClass down to root's own
// class, each over the previous ones, then calls Loaded once on every component read (root first).
// Classes without a resource are passed over; false when none had one.
bool InitInheritedComponent(TComponent* root, const TMetaClass& stopClass);
