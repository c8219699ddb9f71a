#pragma once

#include <memory>

namespace fb {

// Owning holders for the OO API's objects, so that a failure between getting one and letting it
// go cannot leak it. Builders of parameter blocks end with dispose(); reference-counted objects
// (message metadata and its builders) give their one reference back with release().
struct Disposer {
  template <class T>
  void operator()(T* object) const {
    object->dispose();
  }
};

struct Releaser {
  template <class T>
  void operator()(T* object) const {
    object->release();
  }
};

template <class T>
using Disposable = std::unique_ptr<T, Disposer>;

template <class T>
using Reference = std::unique_ptr<T, Releaser>;

}  // namespace fb
