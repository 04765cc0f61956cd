#include "line/field_stream.h"

#include "platform/platform.h"

void FieldStream::open(const std::string& path) { open_text(platform::read_file(path), path); }
void FieldStream::open_text(std::string text, std::string name) {
    text_ = std::move(text);
    path_ = std::move(name);
    pos_ = 0;
    currentLine_ = 1;
    fieldLine_ = 0;
    open_ = true;
}
void FieldStream::close() { open_ = false; text_.clear(); pos_ = 0; }
bool FieldStream::eof() const { return pos_ >= text_.size(); }
std::string FieldStream::read_text() { failure("not implemented"); }
int32_t FieldStream::read_int32() { failure("not implemented"); }
int16_t FieldStream::read_int16() { failure("not implemented"); }
uint8_t FieldStream::read_uint8() { failure("not implemented"); }
void FieldStream::failure(const std::string& why) const { throw platform::RunTimeFailure("read", path_, why); }
