#include "base/Json.h"

#include <cmath>
#include <cstdio>

void TJsonWriter::Key(std::string_view key) {
  if (lineDepth_ > 0 && depth_ >= lineDepth_) {
    if (!first_) out_ += ", ";
  } else if (depth_ > 0) {
    out_ += first_ ? "\n" : ",\n";
    out_.append(static_cast<size_t>(depth_) * 2, ' ');
  }
  first_ = false;
  if (!key.empty()) {
    Quoted(key);
    out_ += ": ";
  }
}

void TJsonWriter::Quoted(std::string_view utf8) {
  out_ += '"';
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out_ += buf;
        } else {
          out_ += static_cast<char>(c);
        }
    }
  }
  out_ += '"';
}

TJsonWriter& TJsonWriter::BeginObject(std::string_view key) {
  Key(key);
  out_ += '{';
  ++depth_;
  first_ = true;
  return *this;
}

TJsonWriter& TJsonWriter::BeginLineObject(std::string_view key) {
  BeginObject(key);
  lineDepth_ = depth_;
  return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
  --depth_;
  if (lineDepth_ > depth_) {
    lineDepth_ = 0;
  } else if (!first_) {
    out_ += '\n';
    out_.append(static_cast<size_t>(depth_) * 2, ' ');
  }
  out_ += '}';
  first_ = false;
  if (depth_ == 0) out_ += '\n';
  return *this;
}

TJsonWriter& TJsonWriter::BeginArray(std::string_view key) {
  Key(key);
  out_ += '[';
  ++depth_;
  first_ = true;
  return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
  --depth_;
  if (!first_) {
    out_ += '\n';
    out_.append(static_cast<size_t>(depth_) * 2, ' ');
  }
  out_ += ']';
  first_ = false;
  return *this;
}

TJsonWriter& TJsonWriter::Value(std::string_view key, int64_t v) {
  Key(key);
  out_ += std::to_string(v);
  return *this;
}

TJsonWriter& TJsonWriter::Value(std::string_view key, uint64_t v) {
  Key(key);
  out_ += std::to_string(v);
  return *this;
}

TJsonWriter& TJsonWriter::Value(std::string_view key, bool v) {
  Key(key);
  out_ += v ? "true" : "false";
  return *this;
}

// Doubles keep every digit that tells them apart; JSON has no NaN or infinity, so those (which
// a damaged saved game may hold) are written as null.
TJsonWriter& TJsonWriter::Value(std::string_view key, double v) {
  Key(key);
  if (!std::isfinite(v)) {
    out_ += "null";
    return *this;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  out_ += buf;
  return *this;
}

TJsonWriter& TJsonWriter::Text(std::string_view key, std::string_view utf8) {
  Key(key);
  Quoted(utf8);
  return *this;
}
