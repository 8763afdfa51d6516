// Data-aware display: the data source that links controls to a query, and TDBText.
#pragma once

#include <string>

#include "platform/components/Component.h"
#include "platform/ui/StdCtrls.h"

class TQuery;
class TField;

// Links data-aware controls to a query.
class TDataSource : public TComponent {
  Q_CLASS(TDataSource, TComponent)

  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  TQuery* DataSet() const { return FDataSet; }
  void SetDataSet(TQuery* dataSet);

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TQuery* FDataSet = nullptr;
};

// A label that shows the value of one field of its data source's query.
class TDBText : public TCustomLabel {
  Q_CLASS(TDBText, TCustomLabel)

  explicit TDBText(TComponent* owner);

  const std::string& DataField() const { return FDataField; }
  void SetDataField(const std::string& name);
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* source);

  // The field shown: the query's column named DataField while the query is open; nullptr when the
  // control is not attached to one.
  TField* Field() const;

  std::string LabelText() const override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::string FDataField;
  TDataSource* FDataSource = nullptr;
};
