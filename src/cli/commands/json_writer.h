// A small streaming JSON writer for the command line's machine-readable output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plavesk {

class JsonWriter {
 public:
  const std::string& str() const { return out_; }

  JsonWriter& beginObject() { return open('{'); }
  JsonWriter& endObject() { return close('}'); }
  JsonWriter& beginArray() { return open('['); }
  JsonWriter& endArray() { return close(']'); }
  JsonWriter& key(const std::string& name);
  JsonWriter& value(const std::string& text);
  JsonWriter& value(const char* text) { return value(std::string(text)); }
  JsonWriter& value(int64_t number);
  JsonWriter& value(int number) { return value(int64_t(number)); }
  JsonWriter& value(double number);
  JsonWriter& value(bool flag);

 private:
  JsonWriter& open(char c);
  JsonWriter& close(char c);
  void separate();

  std::string out_;
  std::vector<bool> first_;  // per open container: nothing written yet
  bool afterKey_ = false;
};

}  // namespace plavesk
