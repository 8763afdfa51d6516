#include "platform/components/Object.h"

#include "platform/components/TypeInfo.h"

TObject::TObject() : FAlive(std::make_shared<const int>(0)) {}

TObject::~TObject() { EndLiveness(); }

const TMetaClass& TObject::StaticClass() {
  static const TMetaClass cls("TObject", nullptr);
  return cls;
}

const TMetaClass& TObject::ClassType() const { return StaticClass(); }

const std::string& TObject::ClassName() const { return ClassType().ClassName(); }

bool TObject::InheritsFrom(const TMetaClass& cls) const { return ClassType().InheritsFrom(cls); }

const TMetaClass& TPersistent::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TPersistent>("TPersistent");
  return cls;
}

void TPersistent::Assign(const TPersistent& source) {
  throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}
