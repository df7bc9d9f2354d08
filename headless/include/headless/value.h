// Typed property values and property maps of the in-memory model.
//
// A value carries one of the host's value types (integer, metric, string,
// string list, object, object list, text location, text range). Object
// references inside the model are local ids of the document or book that
// holds the value; the service layer translates them to and from host
// handles.
#ifndef VELTRANO_HEADLESS_VALUE_H
#define VELTRANO_HEADLESS_VALUE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/codes.h"

namespace headless {

// A local object id within one document or book; 0 is none.
using Id = uint32_t;

struct Loc {
  Id obj = 0;
  int32_t offset = 0;
  bool operator==(const Loc&) const = default;
};

struct Range {
  Loc beg;
  Loc end;
  bool operator==(const Range&) const = default;
};

struct Value {
  int type = 0;  // one of host::kValue*; 0 when there is no value
  int32_t i = 0;
  std::string s;
  std::vector<Id> ids;
  std::vector<std::string> strs;
  Loc loc;
  Range range;

  static Value Int(int32_t v);
  static Value Metric(int32_t v);
  static Value String(std::string v);
  static Value Object(Id v);
  static Value Objects(std::vector<Id> v);
  static Value Strings(std::vector<std::string> v);

  bool empty() const { return type == 0; }
  bool operator==(const Value&) const = default;
};

// Properties keyed by property code, kept sorted by code. Lists are short,
// so a sorted vector is both compact and fast.
class PropMap {
 public:
  using Entry = std::pair<int, Value>;

  const Value* find(int code) const;
  bool contains(int code) const { return find(code) != nullptr; }
  void set(int code, Value value);
  bool erase(int code);

  // Typed reads; a missing property reads as 0 or empty.
  int32_t getInt(int code) const;
  std::string getString(int code) const;
  Id getId(int code) const;

  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  bool operator==(const PropMap&) const = default;

 private:
  std::vector<Entry> entries_;
};

}  // namespace headless

#endif
