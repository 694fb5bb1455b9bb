#pragma once
// A numeric preference: the settings store's atomic field, so it binds to a
// store entry directly, and also answering load()/store(), the spelling the
// preference readers around the program use.
#include "config/TNAtom.h"

template <class T>
class LMGlobalPrefsNumber : public TNAtom32<T> {
public:
    using TNAtomOf<T, 4>::TNAtomOf;
    using TNAtomOf<T, 4>::operator=;

    T load() const noexcept { return this->Get(); }
    void store(T value) noexcept { this->Set(value); }
};
