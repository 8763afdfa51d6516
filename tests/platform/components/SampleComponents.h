// Small component classes the component tests read, write and destroy.
#pragma once

#include <string>
#include <vector>

#include "platform/components/Component.h"
#include "platform/components/DataModule.h"
#include "platform/components/Events.h"
#include "platform/components/FormReader.h"
#include "platform/components/TypeInfo.h"

// What the sample classes did, in order: property writes, Loaded calls, handler calls, destructions.
inline std::vector<std::string>& SampleLog() {
  static std::vector<std::string> log;
  return log;
}

enum TSampleColour { scRed, scGreen, scBlue };
inline const TEnumInfo& SampleColourInfo() {
  static const TEnumInfo info{"TSampleColour", {"scRed", "scGreen", "scBlue"}};
  return info;
}

enum TSampleStyle { ssBold, ssItalic, ssUnderline };
using TSampleStyles = TSet<TSampleStyle>;
inline const TEnumInfo& SampleStyleInfo() {
  static const TEnumInfo info{"TSampleStyle", {"ssBold", "ssItalic", "ssUnderline"}};
  return info;
}

inline const TIdentMap& SampleSizeIdents() {
  static const TIdentMap idents{{8, "szSmall"}, {12, "szLarge"}};
  return idents;
}

struct TSampleRect {
  int Left, Top, Right, Bottom;
};
// An event shaped like a page control's tab painting: control, tab index, rectangle, active.
using TSampleDrawTabEvent =
    TEvent<void(TComponent* Control, int TabIndex, const TSampleRect& Rect, bool Active)>;

// A nested persistent two levels deep: TSampleWidget.Font.Shadow.
class TSampleShadow : public TPersistent {
  Q_CLASS(TSampleShadow, TPersistent)
  int Depth = 0;
};

class TSampleFont : public TPersistent {
  Q_CLASS(TSampleFont, TPersistent)
  std::string Name = "Sans";
  int Size = 8;
  TSampleStyles Style;
  TSampleShadow Shadow;
};

class TSampleWidget : public TComponent {
  Q_CLASS(TSampleWidget, TComponent)
  explicit TSampleWidget(TComponent* owner) : TComponent(owner) {}
  ~TSampleWidget() override { SampleLog().push_back("destroy " + Name()); }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) {
    SampleLog().push_back(Name() + ".Caption");
    FCaption = value;
  }
  int Width() const { return FWidth; }
  void SetWidth(int value) {
    SampleLog().push_back(Name() + ".Width");
    FWidth = value;
  }

  int Height = 0;
  bool Visible = true;
  bool Enabled = true;
  TSampleColour Colour = scGreen;
  TSampleStyles Options;
  double Ratio = 0;
  TStringList Lines;
  TSampleFont Font;
  TNotifyEvent OnClick;
  TSampleDrawTabEvent OnDrawTab;
  TSampleWidget* Buddy = nullptr;
  TComponent* ParentSeen = nullptr;
  bool LoadingDuringRead = false;

  void SetParentComponent(TComponent* parent) override { ParentSeen = parent; }
  void Loaded() override {
    LoadingDuringRead = InState(csLoading);
    TComponent::Loaded();
    SampleLog().push_back("Loaded " + Name());
  }
  void Click() { OnClick(this); }

 private:
  std::string FCaption;
  int FWidth = 64;
};

inline const TMetaClass& TSampleShadow::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TSampleShadow>("TSampleShadow")
                                    .Integer("Depth", &TSampleShadow::Depth, &TSampleShadow::Depth)
                                    .Default(0);
  return cls;
}

inline const TMetaClass& TSampleFont::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TSampleFont>("TSampleFont")
                                    .String("Name", &TSampleFont::Name, &TSampleFont::Name)
                                    .Integer("Size", &TSampleFont::Size, &TSampleFont::Size)
                                    .Default(8)
                                    .Idents(SampleSizeIdents())
                                    .Set("Style", SampleStyleInfo(), &TSampleFont::Style, &TSampleFont::Style)
                                    .Default(TSampleStyles{})
                                    .Object("Shadow", &TSampleFont::Shadow);
  return cls;
}

inline const TMetaClass& TSampleWidget::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TSampleWidget>("TSampleWidget")
          .String("Caption", &TSampleWidget::Caption, &TSampleWidget::SetCaption)
          .Integer("Width", &TSampleWidget::Width, &TSampleWidget::SetWidth)
          .Default(64)
          .Integer("Height", &TSampleWidget::Height, &TSampleWidget::Height)
          .Boolean("Visible", &TSampleWidget::Visible, &TSampleWidget::Visible)
          .Default(true)
          .Boolean("Enabled", &TSampleWidget::Enabled, &TSampleWidget::Enabled)
          .Enumeration("Colour", SampleColourInfo(), &TSampleWidget::Colour, &TSampleWidget::Colour)
          .Default(scGreen)
          .Set("Options", SampleStyleInfo(), &TSampleWidget::Options, &TSampleWidget::Options)
          .Float("Ratio", &TSampleWidget::Ratio, &TSampleWidget::Ratio)
          .Strings("Lines", &TSampleWidget::Lines)
          .Object("Font", &TSampleWidget::Font)
          .Event("OnClick", &TSampleWidget::OnClick)
          .Event("OnDrawTab", &TSampleWidget::OnDrawTab)
          .Component("Buddy", &TSampleWidget::Buddy, &TSampleWidget::Buddy);
  return cls;
}

// A form-like root: its resource declares two widgets bound to its published fields and handlers.
class TSampleForm : public TComponent {
  Q_CLASS(TSampleForm, TComponent)
  explicit TSampleForm(TComponent* owner) : TComponent(owner) {}
  ~TSampleForm() override { SampleLog().push_back("destroy " + Name()); }

  void AfterConstruction() override {
    TComponent::AfterConstruction();
    InitInheritedComponentOf(this);
  }
  static void InitInheritedComponentOf(TComponent* root);

  void buOKClick(TObject* /*sender*/) { SampleLog().push_back("TSampleForm.buOKClick"); }
  void buCancelClick(TObject* /*sender*/) { SampleLog().push_back("TSampleForm.buCancelClick"); }
  void Loaded() override {
    TComponent::Loaded();
    SampleLog().push_back("Loaded " + Name());
  }
  void pcDrawTab(TComponent* control, int tabIndex, const TSampleRect& rect, bool active) {
    SampleLog().push_back("pcDrawTab " + control->Name() + " " + std::to_string(tabIndex) + " " +
                          std::to_string(rect.Left) + "," + std::to_string(rect.Bottom) +
                          (active ? " active" : ""));
  }
  // A published method whose parameters fit no notify event.
  void Measure(int /*width*/) {}

  TSampleWidget* buOK = nullptr;
  TSampleWidget* buCancel = nullptr;
  std::string Caption;
};

class TSampleDerivedForm : public TSampleForm {
  Q_CLASS(TSampleDerivedForm, TSampleForm)
  explicit TSampleDerivedForm(TComponent* owner) : TSampleForm(owner) {}

  void buOKClick(TObject* /*sender*/) { SampleLog().push_back("TSampleDerivedForm.buOKClick"); }

  TSampleWidget* laDoc = nullptr;
};

inline const char SampleFormResource[] =
    "object fmSample: TSampleForm\n"
    "  Caption = 'Sample'\n"
    "  object buOK: TSampleWidget\n"
    "    Caption = '&OK'\n"
    "    Width = 75\n"
    "    OnClick = buOKClick\n"
    "  end\n"
    "  object buCancel: TSampleWidget\n"
    "    Caption = 'Cancel'\n"
    "    OnClick = buCancelClick\n"
    "    Colour = scRed\n"
    "  end\n"
    "end\n";

inline const char SampleDerivedFormResource[] =
    "inherited fmDerived: TSampleDerivedForm\n"
    "  Caption = 'Derived'\n"
    "  inherited buCancel: TSampleWidget\n"
    "    Width = 90\n"
    "  end\n"
    "  object laDoc: TSampleWidget\n"
    "    Caption = 'laDoc'\n"
    "  end\n"
    "end\n";

inline const TMetaClass& TSampleForm::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TSampleForm>("TSampleForm")
                                    .String("Caption", &TSampleForm::Caption, &TSampleForm::Caption)
                                    .Field("buOK", &TSampleForm::buOK)
                                    .Field("buCancel", &TSampleForm::buCancel)
                                    .Method("buOKClick", &TSampleForm::buOKClick)
                                    .Method("buCancelClick", &TSampleForm::buCancelClick)
                                    .Method("Measure", &TSampleForm::Measure)
                                    .Method("pcDrawTab", &TSampleForm::pcDrawTab)
                                    .Resource(SampleFormResource);
  return cls;
}

inline const TMetaClass& TSampleDerivedForm::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TSampleDerivedForm>("TSampleDerivedForm")
                                    .Field("laDoc", &TSampleDerivedForm::laDoc)
                                    .Method("buOKClick", &TSampleDerivedForm::buOKClick)
                                    .Resource(SampleDerivedFormResource);
  return cls;
}

inline void TSampleForm::InitInheritedComponentOf(TComponent* root) {
  InitInheritedComponent(root, TComponent::StaticClass());
}

inline void RegisterSampleClasses() {
  RegisterClasses(
      {&TSampleWidget::StaticClass(), &TSampleForm::StaticClass(), &TSampleDerivedForm::StaticClass()});
}
