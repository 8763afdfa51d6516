#include <gtest/gtest.h>

#include "SampleComponents.h"

namespace {

using Log = std::vector<std::string>;

// Records what it is told of other components.
class TWatcher : public TComponent {
  Q_CLASS(TWatcher, TComponent)
  explicit TWatcher(TComponent* owner) : TComponent(owner) {}
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) SampleLog().push_back(Name() + " heard " + component->Name() + " go");
  }
};

const TMetaClass& TWatcher::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TWatcher>("TWatcher");
  return cls;
}

// Declares Width again to change its default; it keeps the inherited place in the property order.
class TWideWidget : public TSampleWidget {
  Q_CLASS(TWideWidget, TSampleWidget)
  explicit TWideWidget(TComponent* owner) : TSampleWidget(owner) {}
};

const TMetaClass& TWideWidget::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TWideWidget>("TWideWidget")
                                    .Integer("Width", &TWideWidget::Width, &TWideWidget::SetWidth)
                                    .Default(100)
                                    .Integer("Depth", &TWideWidget::Height, &TWideWidget::Height);
  return cls;
}

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { SampleLog().clear(); }

  static TSampleWidget* Widget(TComponent* owner, const std::string& name) {
    auto* w = new TSampleWidget(owner);
    w->SetName(name);
    return w;
  }
};

TEST_F(ComponentTest, OwnerListsComponentsInInsertionOrderAndFreesTheLastFirst) {
  auto* owner = new TComponent(nullptr);
  Widget(owner, "a");
  TSampleWidget* b = Widget(owner, "b");
  Widget(owner, "c");
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(0)->Name(), "a");
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(owner->Components(2)->Name(), "c");
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(b->Owner(), owner);
  delete owner;
  EXPECT_EQ(SampleLog(), (Log{"destroy c", "destroy b", "destroy a"}));
}

TEST_F(ComponentTest, ComponentFreedDirectlyLeavesItsOwnerAndTakesItsOwnedOnesWithIt) {
  TComponent owner(nullptr);
  Widget(&owner, "a");
  TSampleWidget* b = Widget(&owner, "b");
  Widget(b, "inner");
  Widget(&owner, "c");
  delete b;
  // The widget's own destructor body runs before the inherited one frees what it owns.
  EXPECT_EQ(SampleLog(), (Log{"destroy b", "destroy inner"}));
  ASSERT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.Components(0)->Name(), "a");
  EXPECT_EQ(owner.Components(1)->Name(), "c");
  EXPECT_EQ(owner.FindComponent("b"), nullptr);
}

TEST_F(ComponentTest, IndexOutsideTheListRaises) {
  TComponent owner(nullptr);
  Widget(&owner, "a");
  for (int index : {-1, 1, 5}) {
    SCOPED_TRACE(index);
    try {
      owner.Components(index);
      ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
}

TEST_F(ComponentTest, FindComponentIgnoresCaseAndLooksOnlyAtOwnedComponents) {
  TComponent owner(nullptr);
  TSampleWidget* ok = Widget(&owner, "buOK");
  Widget(ok, "inner");
  Widget(&owner, "");
  EXPECT_EQ(owner.FindComponent("buOK"), ok);
  EXPECT_EQ(owner.FindComponent("BUOK"), ok);
  EXPECT_EQ(owner.FindComponent("buok"), ok);
  EXPECT_EQ(owner.FindComponent("inner"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_EQ(owner.FindComponent("buCancel"), nullptr);
}

TEST_F(ComponentTest, NamesMustBeIdentifiersAndUniqueWithinTheOwner) {
  struct Case {
    const char* Name;
    const char* Message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"buOK2", nullptr},
      {"_hidden", nullptr},
      {"", nullptr},
      {"2nd", "'2nd' is not a valid component name"},
      {"bu OK", "'bu OK' is not a valid component name"},
      {"bu.OK", "'bu.OK' is not a valid component name"},
      {"taken", "A component named taken already exists"},
      {"TAKEN", "A component named TAKEN already exists"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TComponent owner(nullptr);
    Widget(&owner, "taken");
    TSampleWidget* w = Widget(&owner, "before");
    if (c.Message == nullptr) {
      w->SetName(c.Name);
      EXPECT_EQ(w->Name(), c.Name);
    } else {
      try {
        w->SetName(c.Name);
        ADD_FAILURE() << "no error";
      } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), c.Message);
      }
      EXPECT_EQ(w->Name(), "before");
    }
  }
}

TEST_F(ComponentTest, RenamingToItsOwnNameInAnotherCaseIsAllowed) {
  TComponent owner(nullptr);
  TSampleWidget* w = Widget(&owner, "buok");
  w->SetName("buOK");
  EXPECT_EQ(w->Name(), "buOK");
}

TEST_F(ComponentTest, PublishedFieldFollowsTheOwnedComponentOfItsName) {
  TSampleForm form(nullptr);
  TSampleWidget* w = Widget(&form, "buOK");
  EXPECT_EQ(form.buOK, w);
  w->SetName("buOther");
  EXPECT_EQ(form.buOK, nullptr);
  w->SetName("buCancel");
  EXPECT_EQ(form.buCancel, w);
  delete w;
  EXPECT_EQ(form.buCancel, nullptr);
}

TEST_F(ComponentTest, PublishedFieldOfAnotherClassRefusesTheComponent) {
  TSampleForm form(nullptr);
  auto* watcher = new TWatcher(&form);
  try {
    watcher->SetName("buOK");
    ADD_FAILURE() << "no error";
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "Invalid class typecast");
  }
  EXPECT_EQ(form.buOK, nullptr);
}

TEST_F(ComponentTest, OwnerAndSiblingsHearOfARemovedComponent) {
  TComponent owner(nullptr);
  auto* watcher = new TWatcher(&owner);
  watcher->SetName("watcher");
  TSampleWidget* w = Widget(&owner, "w");
  delete w;
  EXPECT_EQ(SampleLog(), (Log{"destroy w", "watcher heard w go"}));
}

TEST_F(ComponentTest, InsertingIntoAnotherOwnerMovesTheComponent) {
  TComponent first(nullptr);
  TComponent second(nullptr);
  TSampleWidget* w = Widget(&first, "w");
  second.InsertComponent(w);
  EXPECT_EQ(first.ComponentCount(), 0);
  ASSERT_EQ(second.ComponentCount(), 1);
  EXPECT_EQ(w->Owner(), &second);
  // A component moving in must not clash with the names already there.
  TSampleWidget* twin = Widget(&first, "W");
  try {
    second.InsertComponent(twin);
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named W already exists");
  }
  EXPECT_EQ(twin->Owner(), &first);
  first.RemoveComponent(twin);
  EXPECT_EQ(twin->Owner(), nullptr);
  EXPECT_EQ(first.ComponentCount(), 0);
  delete twin;
}

TEST_F(ComponentTest, ClassIdentityAndCheckedCast) {
  TComponent owner(nullptr);
  TSampleWidget* w = Widget(&owner, "w");
  TObject* asObject = w;
  EXPECT_EQ(asObject->ClassName(), "TSampleWidget");
  EXPECT_TRUE(asObject->InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(asObject->InheritsFrom(TPersistent::StaticClass()));
  EXPECT_FALSE(asObject->InheritsFrom(TSampleForm::StaticClass()));
  EXPECT_EQ(AsClass<TSampleWidget>(asObject), w);
  EXPECT_EQ(AsClass<TSampleWidget>(static_cast<TObject*>(nullptr)), nullptr);
  try {
    AsClass<TSampleForm>(asObject);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidCast& e) {
    EXPECT_EQ(e.Message(), "Invalid class typecast");
  }
  EXPECT_TRUE(IsClass<TComponent>(asObject));
  EXPECT_FALSE(IsClass<TWatcher>(asObject));
}

TEST_F(ComponentTest, RegistryFindsClassesByNameWithoutRegardToCase) {
  RegisterClasses({&TWatcher::StaticClass()});
  EXPECT_EQ(GetClass("TWatcher"), &TWatcher::StaticClass());
  EXPECT_EQ(GetClass("twatcher"), &TWatcher::StaticClass());
  EXPECT_EQ(GetClass("TNeverRegistered"), nullptr);
  try {
    FindClass("TNeverRegistered");
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Class TNeverRegistered not found");
  }
  TComponent owner(nullptr);
  TComponent* made = GetClass("TWATCHER")->CreateInstance(&owner);
  EXPECT_EQ(made->ClassName(), "TWatcher");
  EXPECT_EQ(made->Owner(), &owner);
}

TEST_F(ComponentTest, AbstractClassesCannotBeCreatedByName) {
  EXPECT_FALSE(TPersistent::StaticClass().IsCreatable());
  try {
    TPersistent::StaticClass().CreateInstance(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "Cannot create an instance of TPersistent");
  }
}

TEST_F(ComponentTest, PropertiesComeInDeclaredOrderInheritedFirst) {
  std::vector<std::string> names;
  std::vector<std::string> defaults;
  for (const TPropInfo* p : TWideWidget::StaticClass().Properties()) {
    names.push_back(p->Name);
    defaults.push_back(p->Default ? std::to_string(*p->Default) : "none");
  }
  EXPECT_EQ(names, (Log{"Tag", "Caption", "Width", "Height", "Visible", "Enabled", "Colour", "Options",
                        "Ratio", "Lines", "Font", "OnClick", "OnDrawTab", "Buddy", "Depth"}));
  EXPECT_EQ(defaults, (Log{"0", "none", "100", "none", "1", "none", "1", "none", "none", "none", "none",
                           "none", "none", "none", "none"}));
  EXPECT_EQ(TWideWidget::StaticClass().FindProperty("width")->Default, 100);
  EXPECT_EQ(TSampleWidget::StaticClass().FindProperty("Width")->Default, 64);
  EXPECT_EQ(TSampleWidget::StaticClass().FindProperty("Depth"), nullptr);
}

TEST_F(ComponentTest, PropertyWritersRunTheirBehaviour) {
  TComponent owner(nullptr);
  TSampleWidget* w = Widget(&owner, "w");
  const TPropInfo* width = TSampleWidget::StaticClass().FindProperty("Width");
  width->SetOrd(*w, 33);
  EXPECT_EQ(w->Width(), 33);
  EXPECT_EQ(width->GetOrd(*w), 33);
  EXPECT_EQ(SampleLog(), (Log{"w.Width"}));
  const TPropInfo* options = TSampleWidget::StaticClass().FindProperty("Options");
  options->SetOrd(*w, TSampleStyles{ssItalic, ssUnderline}.Bits());
  EXPECT_EQ(w->Options, (TSampleStyles{ssItalic, ssUnderline}));
}

TEST_F(ComponentTest, LoadedClearsTheLoadingState) {
  TComponent owner(nullptr);
  TSampleWidget* w = Widget(&owner, "w");
  w->SetComponentStateFlag(csLoading, true);
  EXPECT_TRUE(w->InState(csLoading));
  w->Loaded();
  EXPECT_FALSE(w->InState(csLoading));
}

TEST_F(ComponentTest, DestroyingStateIsSetWhileOwnedComponentsGo) {
  // A component being destroyed no longer hears of its owned components leaving.
  auto* watcher = new TWatcher(nullptr);
  watcher->SetName("watcher");
  Widget(watcher, "w");
  delete watcher;
  EXPECT_EQ(SampleLog(), (Log{"destroy w"}));
}

}  // namespace
