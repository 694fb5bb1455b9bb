#pragma once
// What a log needs of its owner (the console configuration): the shade set
// the console currently uses, for the marks of the file log. The set is read
// without a lock; the owner keeps a replaced set alive while it may be read.
class LMShades;

class ILMLogOwner {
public:
    virtual ~ILMLogOwner() = default;
    virtual const LMShades* CurrentShades() const = 0;  // may be null
};
