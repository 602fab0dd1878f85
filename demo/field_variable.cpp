// A record field as a variable; see field_variable.h.
#include "demo/field_variable.h"

namespace qx {
namespace {

UseVariable::Type VariableType(FieldType type) {
  switch (type) {
    case FieldType::kByte: return UseVariable::Type::kByte;
    case FieldType::kShort: return UseVariable::Type::kShort;
    case FieldType::kUShort: return UseVariable::Type::kUShort;
    case FieldType::kLong: return UseVariable::Type::kLong;
    case FieldType::kULong: return UseVariable::Type::kULong;
    case FieldType::kReal: return UseVariable::Type::kReal;
    case FieldType::kString: return UseVariable::Type::kString;
    case FieldType::kCString: return UseVariable::Type::kCString;
  }
  return UseVariable::Type::kNone;
}

}  // namespace

UseVariable FieldVariable(unsigned char* record, const FieldDef& field) {
  return UseVariable::AtAddress(VariableType(field.type), record + field.offset, field.width);
}

}  // namespace qx
