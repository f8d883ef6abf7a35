#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "res/texts/reason.h"

// One way to fail: a call that can fail returns its value or the Why of its failure.
namespace torvanik {

struct Why {
    Reason reason = Reason::kNone;
    int error = 0;          // errno, whose text follows the reason's; 0 for none
    std::string text = {};  // a reason in words of its own (from the drive), when set
};

// A refusal in words of its own: a bad option, a line of a file, an image's reason.
inline Why Refused(std::string text) {
    return {.text = std::move(text)};
}

// A Why kept as data (beside a notice, in a record) says something: a reason or words of
// its own. A failed call's Why may say only its error.
inline bool HasReason(const Why& why) {
    return why.reason != Reason::kNone || !why.text.empty();
}

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Why why) : state_(std::move(why)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Why& why() const { return std::get<1>(state_); }

  private:
    std::variant<T, Why> state_;
};

// The value, or none where the call failed and the caller has no use for why.
template <class T>
std::optional<T> ValueOrNone(Result<T> result) {
    if (!result) {
        return std::nullopt;
    }
    return std::move(*result);
}

// A call that gives nothing back but can fail: success is `return {};`. A failure that
// only a system error number says (its reason left to the caller) is a failure too.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Why why) : why_(std::move(why)) {}

    bool ok() const { return !why_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Why& why() const { return *why_; }

  private:
    std::optional<Why> why_;
};

}  // namespace torvanik
