#pragma once
// Core types of the runtime library: text, sets, the root object and the exception base.
// Every other platform unit and every library above builds on these.

#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

// Text is UTF-16 throughout; UTF-8 appears only at the edges (files, Qt, POSIX).
using String = std::u16string;
using Char = char16_t;
using Byte = uint8_t;
using Word = uint16_t;
using Cardinal = uint32_t;
using Integer = int32_t;
using Int64 = int64_t;
using RawBytes = std::string;  // raw octets, as written to a port or file

// UTF-8 <-> UTF-16. Invalid UTF-8 sequences decode to U+FFFD; lone surrogates encode as U+FFFD.
String UTF8ToString(std::string_view utf8);
std::string StringToUTF8(const String& s);
// Shorthand for literals and messages written in source as UTF-8.
inline String U(std::string_view utf8) { return UTF8ToString(utf8); }

// Set of an enumeration (up to 256 values), as the class library's "set of".
template <typename E>
class Set {
public:
  constexpr Set() = default;
  Set(std::initializer_list<E> items) {
    for (E e : items) Include(e);
  }
  Set& Include(E e) { bits_.set(Index(e)); return *this; }
  Set& Exclude(E e) { bits_.reset(Index(e)); return *this; }
  bool Contains(E e) const { return bits_.test(Index(e)); }
  bool Empty() const { return bits_.none(); }
  size_t Count() const { return bits_.count(); }
  void Clear() { bits_.reset(); }
  Set operator+(const Set& o) const { Set r; r.bits_ = bits_ | o.bits_; return r; }
  Set operator-(const Set& o) const { Set r; r.bits_ = bits_ & ~o.bits_; return r; }
  Set operator*(const Set& o) const { Set r; r.bits_ = bits_ & o.bits_; return r; }
  Set operator+(E e) const { Set r = *this; return r.Include(e); }
  Set operator-(E e) const { Set r = *this; return r.Exclude(e); }
  Set& operator+=(const Set& o) { bits_ |= o.bits_; return *this; }
  Set& operator-=(const Set& o) { bits_ &= ~o.bits_; return *this; }
  Set& operator*=(const Set& o) { bits_ &= o.bits_; return *this; }
  Set& operator+=(E e) { return Include(e); }
  Set& operator-=(E e) { return Exclude(e); }
  bool operator==(const Set& o) const { return bits_ == o.bits_; }
  bool operator!=(const Set& o) const { return bits_ != o.bits_; }
  // True when every member of this set is also in o.
  bool SubsetOf(const Set& o) const { return (bits_ & ~o.bits_).none(); }
  // Raw bit pattern of the first 64 members (for stored settings and tests).
  uint64_t Bits() const {
    uint64_t r = 0;
    for (size_t i = 0; i < 64; ++i) if (bits_.test(i)) r |= uint64_t(1) << i;
    return r;
  }
  static Set FromBits(uint64_t b) {
    Set r;
    for (size_t i = 0; i < 64; ++i) if (b & (uint64_t(1) << i)) r.bits_.set(i);
    return r;
  }

private:
  static size_t Index(E e) { return static_cast<size_t>(static_cast<std::underlying_type_t<E>>(e)); }
  std::bitset<256> bits_;
};

// Root of every class-library object.
class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  virtual String ClassName() const { return u"TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Base of every exception the libraries raise. The message is UTF-16; what() gives UTF-8.
class Exception : public std::exception {
public:
  explicit Exception(String msg);
  const String& Message() const { return message_; }
  void SetMessage(const String& msg);
  const char* what() const noexcept override { return utf8_.c_str(); }

private:
  String message_;
  std::string utf8_;
};

// Declares an exception kind deriving from Base with the same constructor.
#define RTL_EXCEPTION(Name, Base)           \
  class Name : public Base {                \
  public:                                   \
    using Base::Base;                       \
  }

RTL_EXCEPTION(EAbort, Exception);
RTL_EXCEPTION(EConvertError, Exception);
RTL_EXCEPTION(EInvalidCast, Exception);
RTL_EXCEPTION(EArgumentException, Exception);
RTL_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
RTL_EXCEPTION(EInvalidOperation, Exception);
RTL_EXCEPTION(EInvalidPointer, Exception);
RTL_EXCEPTION(EAssertionFailed, Exception);
RTL_EXCEPTION(ENotSupportedException, Exception);
RTL_EXCEPTION(EOutOfMemory, Exception);
RTL_EXCEPTION(EExternal, Exception);
RTL_EXCEPTION(EIntError, EExternal);
RTL_EXCEPTION(EDivByZero, EIntError);
RTL_EXCEPTION(ERangeError, EIntError);
RTL_EXCEPTION(EIntOverflow, EIntError);
RTL_EXCEPTION(EMathError, EExternal);
RTL_EXCEPTION(EInvalidOp, EMathError);
RTL_EXCEPTION(EZeroDivide, EMathError);
RTL_EXCEPTION(EOverflow, EMathError);
RTL_EXCEPTION(EUnderflow, EMathError);
RTL_EXCEPTION(EStreamError, Exception);
RTL_EXCEPTION(EFileStreamError, EStreamError);
RTL_EXCEPTION(EFCreateError, EFileStreamError);
RTL_EXCEPTION(EFOpenError, EFileStreamError);
RTL_EXCEPTION(EReadError, EStreamError);
RTL_EXCEPTION(EWriteError, EStreamError);
RTL_EXCEPTION(EListError, Exception);
RTL_EXCEPTION(EStringListError, EListError);
RTL_EXCEPTION(EIniFileException, Exception);
RTL_EXCEPTION(ERegistryException, Exception);
RTL_EXCEPTION(EThread, Exception);
RTL_EXCEPTION(EInOutError, Exception);

// An operating-system failure; ErrorCode is the errno (or the facade's error code).
class EOSError : public Exception {
public:
  explicit EOSError(String msg, int code = 0) : Exception(std::move(msg)), ErrorCode(code) {}
  int ErrorCode;
};
