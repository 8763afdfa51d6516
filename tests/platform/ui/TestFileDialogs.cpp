// The open dialog components and the folder browser ask the dialog service and report its answer.
#include <gtest/gtest.h>

#include "platform/components/FormReader.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/UiClasses.h"
#include "tests/support/RecordingDialogService.h"

namespace {

TEST(FileDialogsTest, OpenDialogAsksWithItsFilterAndTitleAndTakesTheChosenName) {
  TRecordingDialogService service;
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("QV Advanced Form files (*.xml)|*.XML");
  dialog.SetTitle("Browse QV Advanced Forms");
  service.ExpectOpenFile(true, "/data/forms/typed-but-missing.xml");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/data/forms/typed-but-missing.xml");
  ASSERT_EQ(service.OpenFileRequests().size(), 1u);
  EXPECT_EQ(service.OpenFileRequests()[0].Filter, "QV Advanced Form files (*.xml)|*.XML");
  EXPECT_EQ(service.OpenFileRequests()[0].Title, "Browse QV Advanced Forms");
  EXPECT_EQ(service.OpenFileRequests()[0].InitialDir, "");
  // Cancelled: false, and the name stays.
  service.ExpectOpenFile(false);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/data/forms/typed-but-missing.xml");
}

TEST(FileDialogsTest, PictureDialogIsReadFromAFormResource) {
  RegisterUiClasses();
  TComponent root(nullptr);
  ReadComponentResource(&root,
                        "object fmRoot: TComponent\n"
                        "  object PicOpenDialog: TOpenPictureDialog\n"
                        "    Filter = 'Bitmaps (*.bmp)|*.bmp'\n"
                        "  end\n"
                        "  object DbOpenDialog: TOpenDialog\n"
                        "  end\n"
                        "end\n");
  auto* pictures = dynamic_cast<TOpenPictureDialog*>(root.FindComponent("PicOpenDialog"));
  ASSERT_NE(pictures, nullptr);
  EXPECT_EQ(pictures->Filter(), "Bitmaps (*.bmp)|*.bmp");
  EXPECT_NE(dynamic_cast<TOpenDialog*>(root.FindComponent("DbOpenDialog")), nullptr);
}

TEST(FileDialogsTest, SelectDirectoryTakesTheChosenFolderOnlyWhenConfirmed) {
  TRecordingDialogService service;
  std::string folder = "/kept";
  service.ExpectBrowseForFolder(false);
  EXPECT_FALSE(SelectDirectory("Select Directory of Icons", "", folder));
  EXPECT_EQ(folder, "/kept");
  service.ExpectBrowseForFolder(true, "/icons/\xe9t\xe9");
  EXPECT_TRUE(SelectDirectory("Select Directory of Icons", "", folder));
  EXPECT_EQ(folder, "/icons/\xe9t\xe9");
  ASSERT_EQ(service.FolderRequests().size(), 2u);
  EXPECT_EQ(service.FolderRequests()[1].Title, "Select Directory of Icons");
  // No folder is preselected.
  EXPECT_EQ(service.FolderRequests()[1].Folder, "");
}

}  // namespace
