#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace kelvane {

// The standard descriptions of the run-time errors a computation can meet.
// They are what the user reads in the message box, so they are the system's
// own texts and must not change.
inline constexpr std::string_view kOverflowMessage = "オーバーフローしました。";
inline constexpr std::string_view kDivisionByZeroMessage = "0 で除算しました。";
inline constexpr std::string_view kInvalidArgumentMessage =
    "プロシージャの呼び出し、または引数が不正です。";

// Why a computation gave no result: the text to show the user, or that the
// person waiting for it called it off (nothing to show then).
struct Failure {
  std::string message;
  bool cancelled = false;
  bool operator==(const Failure&) const = default;
};

// A result or the failure that replaced it. Computations never throw and
// never hand out a NaN or an infinity; they return one of these instead.
template <typename T>
class Expected {
 public:
  Expected(T value) : v_(std::move(value)) {}            // NOLINT: implicit by design
  Expected(Failure failure) : v_(std::move(failure)) {}  // NOLINT

  bool ok() const { return std::holds_alternative<T>(v_); }
  explicit operator bool() const { return ok(); }

  const T& value() const { return std::get<T>(v_); }
  T& value() { return std::get<T>(v_); }
  const T& operator*() const { return value(); }
  const T* operator->() const { return &value(); }

  const Failure& failure() const { return std::get<Failure>(v_); }
  const std::string& message() const { return failure().message; }
  // Called off rather than failed.
  bool cancelled() const { return !ok() && failure().cancelled; }

 private:
  std::variant<T, Failure> v_;
};

// Something done, or the failure that stopped it. Asked with ok() only: no
// conversion to bool, so that no `if (save())` meant as "if it failed" (the
// old convention of an optional message) reads the other way round.
template <>
class Expected<void> {
 public:
  Expected() = default;
  Expected(Failure failure) : failure_(std::move(failure)) {}  // NOLINT: implicit by design

  bool ok() const { return !failure_; }

  const Failure& failure() const { return failure_.value(); }
  const std::string& message() const { return failure().message; }

 private:
  std::optional<Failure> failure_;
};

inline Failure cancellation() { return Failure{"計算を中止しました。", true}; }
inline Failure overflowFailure() { return Failure{std::string(kOverflowMessage)}; }
inline Failure divisionByZeroFailure() { return Failure{std::string(kDivisionByZeroMessage)}; }
inline Failure invalidArgumentFailure() { return Failure{std::string(kInvalidArgumentMessage)}; }

}  // namespace kelvane
