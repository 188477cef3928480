#pragma once
// Raises a flag for the life of a scope and lowers it on every way out, an exception included: an object's
// "being built" or "closing" state, a change the object makes itself, a job being driven.

namespace Ovelund {

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace Ovelund
