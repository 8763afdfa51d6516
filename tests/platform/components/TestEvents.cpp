#include <gtest/gtest.h>

#include "SampleComponents.h"

namespace {

using Log = std::vector<std::string>;

// A handler object whose methods record their calls.
class THandlerHost : public TComponent {
  Q_CLASS(THandlerHost, TComponent)
  explicit THandlerHost(TComponent* owner) : TComponent(owner) {}

  void Clicked(TObject* sender) {
    SampleLog().push_back(Name() + " saw " +
                          (sender != nullptr ? AsClass<TComponent>(sender)->Name() : "nil"));
  }
  void Validate(TObject* /*sender*/, std::string& msg, bool& doDefault) {
    msg = "Handled: " + msg;
    doDefault = false;
  }
  int Twice(int value) { return 2 * value; }
};

const TMetaClass& THandlerHost::StaticClass() {
  static const TMetaClass cls = TClassBuilder<THandlerHost>("THandlerHost")
                                    .Method("Clicked", &THandlerHost::Clicked)
                                    .Method("Validate", &THandlerHost::Validate);
  return cls;
}

// Fires its event from its destructor, as a control telling its owner it is going.
class TGoingAway : public TComponent {
  Q_CLASS(TGoingAway, TComponent)
  explicit TGoingAway(TComponent* owner) : TComponent(owner) {}
  ~TGoingAway() override { OnGone(this); }
  TNotifyEvent OnGone;
};

const TMetaClass& TGoingAway::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TGoingAway>("TGoingAway");
  return cls;
}

using TValidateEvent = TEvent<void(TObject* Sender, std::string& Msg, bool& DoDefault)>;

class EventTest : public ::testing::Test {
 protected:
  void SetUp() override { SampleLog().clear(); }
};

TEST_F(EventTest, UnassignedEventDoesNothing) {
  TNotifyEvent e;
  EXPECT_FALSE(e.Assigned());
  EXPECT_FALSE(static_cast<bool>(e));
  e(nullptr);
  EXPECT_TRUE(SampleLog().empty());
  TEvent<int(int)> f;
  EXPECT_EQ(f(21), 0);
}

TEST_F(EventTest, BoundMethodIsCalledWithItsObjectAndArguments) {
  auto* host = new THandlerHost(nullptr);
  host->SetName("host");
  TSampleWidget w(nullptr);
  w.SetName("w");
  w.OnClick = TNotifyEvent(host, &THandlerHost::Clicked);
  EXPECT_TRUE(w.OnClick.Assigned());
  EXPECT_EQ(w.OnClick.Object(), host);
  w.Click();
  EXPECT_EQ(SampleLog(), (Log{"host saw w"}));
  TEvent<int(int)> twice(host, &THandlerHost::Twice);
  EXPECT_EQ(twice(21), 42);
  delete host;
}

TEST_F(EventTest, HandlerMayChangeReferenceArguments) {
  THandlerHost host(nullptr);
  TValidateEvent e(&host, &THandlerHost::Validate);
  std::string msg = "Invalid input value";
  bool doDefault = true;
  e(nullptr, msg, doDefault);
  EXPECT_EQ(msg, "Handled: Invalid input value");
  EXPECT_FALSE(doDefault);
}

TEST_F(EventTest, EventOfADestroyedObjectIsNeverCalled) {
  auto* host = new THandlerHost(nullptr);
  host->SetName("host");
  TSampleWidget w(nullptr);
  w.SetName("w");
  w.OnClick = TNotifyEvent(host, &THandlerHost::Clicked);
  // A copy kept elsewhere, as an application-wide instance keeps the handler it was given.
  TNotifyEvent copy = w.OnClick;
  TEvent<int(int)> twice(host, &THandlerHost::Twice);
  delete host;
  EXPECT_FALSE(w.OnClick.Assigned());
  EXPECT_FALSE(copy.Assigned());
  EXPECT_EQ(copy.Object(), nullptr);
  w.Click();
  copy(&w);
  EXPECT_TRUE(SampleLog().empty());
  EXPECT_EQ(twice(21), 0);
}

TEST_F(EventTest, HandlerBoundByNameDiesWithItsForm) {
  RegisterSampleClasses();
  TSampleForm* form = NewComponent<TSampleForm>(nullptr);
  TNotifyEvent kept = form->buOK->OnClick;
  EXPECT_TRUE(kept.Assigned());
  EXPECT_EQ(kept.MethodName(), "buOKClick");
  delete form;
  SampleLog().clear();
  kept(nullptr);
  EXPECT_TRUE(SampleLog().empty());
}

TEST_F(EventTest, OwnerBeingDestroyedIsNotCalledByItsComponentsGoingAway) {
  auto* host = new THandlerHost(nullptr);
  host->SetName("host");
  auto* going = new TGoingAway(host);
  going->SetName("going");
  going->OnGone = TNotifyEvent(host, &THandlerHost::Clicked);
  // While the host is alive the event reaches it.
  TGoingAway* early = new TGoingAway(host);
  early->SetName("early");
  early->OnGone = TNotifyEvent(host, &THandlerHost::Clicked);
  delete early;
  EXPECT_EQ(SampleLog(), (Log{"host saw early"}));
  // Once the host's destruction has begun its handlers are out of reach.
  delete host;
  EXPECT_EQ(SampleLog(), (Log{"host saw early"}));
}

TEST_F(EventTest, CodeBoundToNoObjectStaysCallable) {
  int calls = 0;
  TNotifyEvent e(nullptr, [&](TObject*, TObject*) { ++calls; });
  EXPECT_TRUE(e.Assigned());
  e(nullptr);
  EXPECT_EQ(calls, 1);
  e.Clear();
  EXPECT_FALSE(e.Assigned());
  e(nullptr);
  EXPECT_EQ(calls, 1);
}

}  // namespace
