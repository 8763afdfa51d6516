#include "platform/components/Application.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "platform/components/TypeInfo.h"
#include "platform/system/Dialogs.h"

TApplication* Application = nullptr;

const TMetaClass& TApplication::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TApplication>("TApplication");
  return cls;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  if (Application == nullptr) Application = this;
}

TApplication::~TApplication() {
  EndLiveness();
  SetComponentStateFlag(csDestroying, true);
  DestroyComponents();
  FWindowing.reset();
  if (Application == this) Application = nullptr;
}

void TApplication::SetWindowing(std::unique_ptr<TApplicationWindowing> windowing) {
  FWindowing = std::move(windowing);
}

void TApplication::Initialize() {
  if (FWindowing) FWindowing->Initialize();
}

void TApplication::Run() {
  if (FWindowing) FWindowing->Run();
}

void TApplication::Terminate() {
  FTerminated = true;
  if (FWindowing) FWindowing->Terminate();
}

void TApplication::ProcessMessages() {
  if (FWindowing) FWindowing->ProcessMessages();
}

bool TApplication::HelpContext(int context) { return FWindowing ? FWindowing->HelpContext(context) : false; }

std::string TApplication::ExeName() const {
  if (FWindowing) return FWindowing->ExeName();
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string ExceptionDisplayText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

void TApplication::HandleException(TObject* /*sender*/) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
    // The silent exception ends an operation without a word.
  } catch (const Exception& e) {
    ShowException(e);
  } catch (const std::exception& e) {
    ShowException(std::string(e.what()));
  }
}

void TApplication::ShowException(const Exception& e) { ShowException(e.Message()); }

void TApplication::ShowException(const std::string& message) {
  std::string caption = FTitle;
  if (caption.empty()) caption = std::filesystem::path(ExeName()).stem().string();
  MessageBoxWithCaption(caption, ExceptionDisplayText(message), mtError, TMsgDlgButtons{mbOK}, 0);
}

void RunCreationHandler(TObject* sender, const TNotifyEvent& handler) {
  try {
    handler(sender);
  } catch (...) {
    if (Application == nullptr) throw;
    Application->HandleException(sender);
  }
}
