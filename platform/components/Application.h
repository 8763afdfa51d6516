// TApplication, non-visual part: the owner of forms, data modules and the application-wide catalogue,
// its title and the default exception display. The window part plugs in through TApplicationWindowing.
#pragma once

#include <memory>
#include <string>

#include "platform/components/Component.h"
#include "platform/components/Events.h"

// What the window layer adds to the one application object. The program installs it once, right after
// creating Application; without it the calls below are harmless (no loop, no help, no forms shown).
class TApplicationWindowing {
 public:
  virtual ~TApplicationWindowing() = default;
  virtual void Initialize() = 0;
  // Told of each instance that CreateForm has completed, in order (the first form becomes the main form).
  virtual void FormCreated(TComponent* instance) = 0;
  // Runs the message loop until the main form closes or Terminate was called (at once if it was before).
  virtual void Run() = 0;
  // Asks a running loop to end; the application has already marked itself terminated.
  virtual void Terminate() = 0;
  virtual void ProcessMessages() = 0;
  // Shows help for a context; false when there is no help to show.
  virtual bool HelpContext(int context) = 0;
  // The running program's path.
  virtual std::string ExeName() const = 0;
};

class TApplication : public TComponent {
  Q_CLASS(TApplication, TComponent)

  // Sets the global Application to this instance when it is empty.
  explicit TApplication(TComponent* owner);
  // Frees the owned forms and modules while the window layer still exists, then the window layer;
  // empties the global Application when it is this instance.
  ~TApplication() override;

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }

  // Installs the window part (owned from then on); nullptr removes it.
  void SetWindowing(std::unique_ptr<TApplicationWindowing> windowing);
  TApplicationWindowing* Windowing() const { return FWindowing.get(); }

  void Initialize();
  // Creates an instance of T owned by the application; reference points at it before its resource is read
  // (and is emptied again when the construction fails).
  template <class T>
  void CreateForm(T*& reference) {
    T* instance = new T(this);
    reference = instance;
    try {
      instance->AfterConstruction();
    } catch (...) {
      reference = nullptr;
      delete instance;
      throw;
    }
    if (FWindowing) FWindowing->FormCreated(instance);
  }
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ProcessMessages();
  bool HelpContext(int context);
  // The running program's path (the window part's answer when installed, else the process's own).
  std::string ExeName() const;

  // The default handler for an exception that escaped an event: call it inside a catch block.
  // An EAbort is dropped; any other exception is shown by ShowException.
  void HandleException(TObject* sender);
  // The default exception display: an error box with one OK button, captioned with Title (or the
  // program's file name without extension when there is no title), showing the message with a full
  // stop appended when its last character sorts after '.'.
  void ShowException(const Exception& e);
  void ShowException(const std::string& message);

 private:
  std::string FTitle;
  bool FTerminated = false;
  std::unique_ptr<TApplicationWindowing> FWindowing;
};

// The one application object, created explicitly by main (and by tests), never by a static initialiser.
extern TApplication* Application;

// The text the default display shows for message: a full stop appended when the last character sorts
// after '.' (so not after '.', '!', ')', ',', a blank or any other character up to '.').
std::string ExceptionDisplayText(const std::string& message);

// Runs a creation handler inside the guard: an exception escaping it goes to
// Application->HandleException(sender) and the caller's construction goes on. Without an application
// object there is nobody to show it, so it propagates.
void RunCreationHandler(TObject* sender, const TNotifyEvent& handler);
