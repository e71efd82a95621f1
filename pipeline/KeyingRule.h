#pragma once
// The three keying rules: graded (the default), binary for frames that are
// not anti-aliased, and clean edges, which takes the key colour out of edge
// pixels instead of keeping it.
namespace velkor {

enum class KeyingRule { Graded, Binary, CleanEdges };

}  // namespace velkor
