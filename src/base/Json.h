// A small writer of pretty-printed JSON objects, for the state dump.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TJsonWriter {
 public:
  TJsonWriter& BeginObject(std::string_view key = {});
  // An object written on one line, for long arrays of small records.
  TJsonWriter& BeginLineObject(std::string_view key = {});
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray(std::string_view key = {});
  TJsonWriter& EndArray();
  TJsonWriter& Value(std::string_view key, int64_t v);
  TJsonWriter& Value(std::string_view key, uint64_t v);
  TJsonWriter& Value(std::string_view key, int v) { return Value(key, int64_t(v)); }
  TJsonWriter& Value(std::string_view key, unsigned v) { return Value(key, uint64_t(v)); }
  TJsonWriter& Value(std::string_view key, bool v);
  TJsonWriter& Value(std::string_view key, double v);
  // A UTF-8 text.
  TJsonWriter& Text(std::string_view key, std::string_view utf8);
  const std::string& Result() const { return out_; }

 private:
  void Key(std::string_view key);
  void Quoted(std::string_view utf8);

  std::string out_;
  int depth_ = 0;
  int lineDepth_ = 0;  // depth at which a one-line object began; 0: none
  bool first_ = true;
};
