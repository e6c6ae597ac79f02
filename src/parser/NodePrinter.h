// Outline text of a syntax node: a heading by kind and the node's children.
#pragma once

#include "base/Str.h"

class Node;

class NodePrinter {
public:
    Str Print(Node& node);
};
