#include "headless/value.h"

#include <algorithm>

namespace headless {

Value Value::Int(int32_t v) {
  Value out;
  out.type = host::kValueInt;
  out.i = v;
  return out;
}

Value Value::Metric(int32_t v) {
  Value out;
  out.type = host::kValueMetric;
  out.i = v;
  return out;
}

Value Value::String(std::string v) {
  Value out;
  out.type = host::kValueString;
  out.s = std::move(v);
  return out;
}

Value Value::Object(Id v) {
  Value out;
  out.type = host::kValueId;
  out.i = static_cast<int32_t>(v);
  return out;
}

Value Value::Objects(std::vector<Id> v) {
  Value out;
  out.type = host::kValueIds;
  out.ids = std::move(v);
  return out;
}

Value Value::Strings(std::vector<std::string> v) {
  Value out;
  out.type = host::kValueStrings;
  out.strs = std::move(v);
  return out;
}

namespace {

auto LowerBound(const std::vector<PropMap::Entry>& entries, int code) {
  return std::lower_bound(entries.begin(), entries.end(), code,
                          [](const PropMap::Entry& e, int c) { return e.first < c; });
}

}  // namespace

const Value* PropMap::find(int code) const {
  auto it = LowerBound(entries_, code);
  if (it == entries_.end() || it->first != code) return nullptr;
  return &it->second;
}

void PropMap::set(int code, Value value) {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), code,
                             [](const Entry& e, int c) { return e.first < c; });
  if (it != entries_.end() && it->first == code) {
    it->second = std::move(value);
  } else {
    entries_.insert(it, Entry{code, std::move(value)});
  }
}

bool PropMap::erase(int code) {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), code,
                             [](const Entry& e, int c) { return e.first < c; });
  if (it == entries_.end() || it->first != code) return false;
  entries_.erase(it);
  return true;
}

int32_t PropMap::getInt(int code) const {
  const Value* v = find(code);
  return v ? v->i : 0;
}

std::string PropMap::getString(int code) const {
  const Value* v = find(code);
  return v ? v->s : std::string();
}

Id PropMap::getId(int code) const {
  const Value* v = find(code);
  return v && v->type == host::kValueId ? static_cast<Id>(v->i) : 0;
}

}  // namespace headless
