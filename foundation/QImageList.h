// Image lists of fixed cell sizes for the product's toolbar images, and the plain image list they
// stand on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/components/Component.h"

// A non-visual list of equally sized images. An image is held as its bitmap bytes; changing the
// cell size empties the list.
class TImageList : public TComponent {
  Q_CLASS(TImageList, TComponent)

  explicit TImageList(TComponent* owner);

  int Width() const { return FWidth; }
  void SetWidth(int width);
  int Height() const { return FHeight; }
  void SetHeight(int height);

  int Count() const { return static_cast<int>(FImages.size()); }
  // Appends an image and returns its index.
  int Add(const std::string& bitmap);
  // Removes every image.
  void Clear() { FImages.clear(); }

 private:
  int FWidth = 16;
  int FHeight = 16;
  std::vector<std::string> FImages;
};

// An image list whose cells are size by size pixels and whose images would come from a numbered
// range of resources. The programs hold no images under these numbers: a list made at run time, in
// code or from a stored form, holds no images.
class TQCustomImageList : public TImageList {
  Q_CLASS(TQCustomImageList, TImageList)

  // The virtual constructor: 16 by 16 cells, the empty range 0 to -1.
  explicit TQCustomImageList(TComponent* owner);
  // Cells of size by size pixels and the range first to last; fills the list only inside a
  // form designer.
  TQCustomImageList(TComponent* owner, int size, int firstResource, int lastResource);

  // After the stored properties are read: at run time the stored images are dropped and the list
  // is filled from its range.
  void Loaded() override;
  // Fills the list from its range: the range holds no images, so it adds none.
  void LoadImages();

  int FirstResource() const { return FFirstResource; }
  int LastResource() const { return FLastResource; }

 private:
  int32_t FFirstResource = 0;
  int32_t FLastResource = -1;
};

class TQ16x16ImageList : public TQCustomImageList {
  Q_CLASS(TQ16x16ImageList, TQCustomImageList)
  // 16 by 16, range 3000 to 3088.
  explicit TQ16x16ImageList(TComponent* owner);
};

class TQ20x20ImageList : public TQCustomImageList {
  Q_CLASS(TQ20x20ImageList, TQCustomImageList)
  // 20 by 20, range 2000 to 2087.
  explicit TQ20x20ImageList(TComponent* owner);
};

class TQ24x24ImageList : public TQCustomImageList {
  Q_CLASS(TQ24x24ImageList, TQCustomImageList)
  // 24 by 24, range 1000 to 1087.
  explicit TQ24x24ImageList(TComponent* owner);
};

// Registers TImageList and the sized image list classes for form resources.
void RegisterQImageListClasses();
