#pragma once

// Marks a record type that orders itself with a three-way Compare (-1, 0, +1) against another
// of its kind. It carries no data and no virtual operations.
template <class T>
class ICompareInterface {};
