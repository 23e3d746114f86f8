// An event hook: an (object, member operation) pair, empty at start. Calling an empty hook does
// nothing. The operation gets the event's values; one that takes none of them may also be hooked
// (a control's TimerTick on a timer's hook).
//
//   CHandler<CCanvas*, CInt, CShiftStateSet, CPoint> OnMouseDown;
//   OnMouseDown.Set(view, &CView::MouseDownHook);
//   OnMouseDown(this, 0, shift, point);
#pragma once

#include <cstring>
#include <functional>
#include <type_traits>

template <class... Args>
class CHandler {
 public:
  CHandler() = default;

  template <class T, class Operation>
  CHandler(T* object, Operation operation) {
    Set(object, operation);
  }

  template <class T, class Operation>
  void Set(T* object, Operation operation) {
    static_assert(std::is_member_function_pointer_v<Operation>);
    static_assert(sizeof(Operation) <= sizeof(operation_) &&
                  std::is_trivially_copyable_v<Operation>);
    if (!object || !operation) {
      Clear();
      return;
    }
    object_ = object;
    std::memset(operation_, 0, sizeof operation_);
    std::memcpy(operation_, &operation, sizeof operation);
    call_ = &Call<T, Operation>;
  }

  void Clear() {
    object_ = nullptr;
    call_ = nullptr;
    std::memset(operation_, 0, sizeof operation_);
  }

  bool IsSet() const { return call_ != nullptr; }
  explicit operator bool() const { return IsSet(); }
  // The hook's object, as the type it was set with; null when empty.
  void* Object() const { return object_; }

  // Whether the hook calls this operation on this object.
  template <class T, class Operation>
  bool Is(T* object, Operation operation) const {
    return object_ == object && call_ == &Call<T, Operation> &&
           std::memcmp(operation_, &operation, sizeof operation) == 0;
  }

  void operator()(Args... args) const {
    if (call_) call_(object_, operation_, args...);
  }

 private:
  template <class T, class Operation>
  static void Call(void* object, const unsigned char* stored, Args... args) {
    Operation operation;
    std::memcpy(&operation, stored, sizeof operation);
    T* target = static_cast<T*>(object);
    if constexpr (std::is_invocable_v<Operation, T*, Args...>)
      std::invoke(operation, target, args...);
    else
      std::invoke(operation, target);
  }

  void* object_ = nullptr;
  void (*call_)(void*, const unsigned char*, Args...) = nullptr;
  // Room for any member-operation pointer (two words in the Itanium ABI).
  alignas(void*) unsigned char operation_[2 * sizeof(void*)] = {};
};
