#pragma once
// The order of the list after loading, and the registry keys left over after
// saving.
#include <cstdint>
#include <string>
#include <vector>

// listIndex[k] is the stored ListIndex of the k-th subkey in listing order.
// Each index below the subkey count puts its configuration into that slot
// when the slot is still free; the others (out of range, or a slot already
// taken) follow in listing order. Answers the listing positions in list order.
std::vector<size_t> LMLoadOrder(const std::vector<uint32_t>& listIndex);

// The listed subkey names that no kept configuration uses (compared ignoring
// case), in listing order: the keys of removed consoles.
std::vector<std::wstring> LMStaleKeyNames(const std::vector<std::wstring>& listed,
                                          const std::vector<std::wstring>& kept);
