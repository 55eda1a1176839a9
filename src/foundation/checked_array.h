#pragma once

#include <cstddef>
#include <vector>

#include "foundation/fatal.h"

namespace brennick {

// Element access for indexes that come from package data: an index outside
// the array is a damaged package or an impossible state, never undefined
// behaviour. `typeName` names the element type in the fatal message.
template <class T>
T& CheckedAt(std::vector<T>& items, long long index, const char* typeName) {
  if (index < 0 || static_cast<unsigned long long>(index) >= items.size()) {
    FatalError("Vector<%s>[%lld]\r\nmax_index = %lld", typeName, index,
               static_cast<long long>(items.size()) - 1);
  }
  return items[static_cast<std::size_t>(index)];
}

template <class T>
const T& CheckedAt(const std::vector<T>& items, long long index, const char* typeName) {
  return CheckedAt(const_cast<std::vector<T>&>(items), index, typeName);
}

}  // namespace brennick
