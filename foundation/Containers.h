#pragma once
// The container ownership forms used across the program, over the standard
// containers. "PtrTo" holds pointers it does not own; "ADPtrTo" (auto-delete)
// owns its elements and deletes them when they leave the container.
#include <cstdlib>
#include <list>
#include <memory>
#include <vector>

#include "foundation/TNHashTabOf.h"

// By value.
template <class T> using TNArrOf = std::vector<T>;   // growable array
template <class T> using TNListOf = std::list<T>;    // doubly linked list
// TNHashTabOf (foundation/TNHashTabOf.h): hash table over NHTKey keys.

// By non-owning pointer.
template <class T> using TNArrOfPtrTo = std::vector<T*>;
template <class T> using TNListOfPtrTo = std::list<T*>;
template <class T> using TNHashTabOfPtrTo = TNHashTabOf<T*>;

// By owning pointer.
template <class T> using TNArrOfADPtrTo = std::vector<std::unique_ptr<T>>;
template <class T> using TNListOfADPtrTo = std::list<std::unique_ptr<T>>;
template <class T> using TNHashTabOfADPtrTo = TNHashTabOf<std::unique_ptr<T>>;

// Single owning pointers: one deletes, the other frees raw memory from malloc.
template <class T> using TNAutoDelPtrTo = std::unique_ptr<T>;

struct NFreeDeleter {
    void operator()(void* memory) const noexcept { std::free(memory); }
};
template <class T> using TNAutoFreePtrTo = std::unique_ptr<T, NFreeDeleter>;
