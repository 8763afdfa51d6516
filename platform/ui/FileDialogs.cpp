#include "platform/ui/FileDialogs.h"

#include "platform/components/TypeInfo.h"
#include "platform/system/Dialogs.h"

const TMetaClass& TOpenDialog::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TOpenDialog>("TOpenDialog")
          .String("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
          .String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
          .String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
          .String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
  return cls;
}

const TMetaClass& TOpenPictureDialog::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TOpenPictureDialog>("TOpenPictureDialog");
  return cls;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute() {
  TOpenFileRequest request;
  request.Title = FTitle;
  request.Filter = FFilter;
  request.InitialDir = FInitialDir;
  request.FileName = FFileName;
  if (!ExecuteOpenDialog(request)) return false;
  FFileName = request.FileName;
  return true;
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
  TBrowseFolderRequest request;
  request.Title = caption;
  request.Folder = root;
  if (!ExecuteBrowseForFolder(request)) return false;
  directory = request.Folder;
  return true;
}
