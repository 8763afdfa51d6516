#include "platform/ui/DBCtrls.h"

#include "platform/data/Field.h"
#include "platform/data/Query.h"

const TMetaClass& TDataSource::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TDataSource>("TDataSource")
                                    .Component("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  return cls;
}

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() = default;

void TDataSource::SetDataSet(TQuery* dataSet) { FDataSet = dataSet; }

void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FDataSet) FDataSet = nullptr;
}

const TMetaClass& TDBText::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TDBText>("TDBText")
                                    .Boolean("AutoSize", &TDBText::AutoSize, &TDBText::SetAutoSize)
                                    .Default(false)
                                    .String("DataField", &TDBText::DataField, &TDBText::SetDataField)
                                    .Component("DataSource", &TDBText::DataSource, &TDBText::SetDataSource);
  return cls;
}

TDBText::TDBText(TComponent* owner) : TCustomLabel(owner) { SetAutoSize(false); }

void TDBText::SetDataField(const std::string& name) {
  FDataField = name;
  Invalidate();
}

void TDBText::SetDataSource(TDataSource* source) {
  FDataSource = source;
  Invalidate();
}

TField* TDBText::Field() const {
  if (FDataSource == nullptr || FDataSource->DataSet() == nullptr || !FDataSource->DataSet()->Active())
    return nullptr;
  return FDataSource->DataSet()->FindField(FDataField);
}

std::string TDBText::LabelText() const {
  TField* field = Field();
  return field != nullptr ? field->AsString() : std::string();
}

void TDBText::Notification(TComponent* component, TOperation operation) {
  TCustomLabel::Notification(component, operation);
  if (operation == opRemove && component == FDataSource) FDataSource = nullptr;
}
