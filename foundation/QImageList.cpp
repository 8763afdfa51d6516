#include "foundation/QImageList.h"

#include "platform/components/TypeInfo.h"

const TMetaClass& TImageList::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TImageList>("TImageList")
                                    .Integer("Height", &TImageList::Height, &TImageList::SetHeight)
                                    .Default(16)
                                    .Integer("Width", &TImageList::Width, &TImageList::SetWidth)
                                    .Default(16);
  return cls;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::SetWidth(int width) {
  if (width == FWidth) return;
  FWidth = width;
  Clear();
}

void TImageList::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Clear();
}

int TImageList::Add(const std::string& bitmap) {
  FImages.push_back(bitmap);
  return Count() - 1;
}

const TMetaClass& TQCustomImageList::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TQCustomImageList>("TQCustomImageList");
  return cls;
}

TQCustomImageList::TQCustomImageList(TComponent* owner) : TQCustomImageList(owner, 16, 0, -1) {}

TQCustomImageList::TQCustomImageList(TComponent* owner, int size, int firstResource, int lastResource)
    : TImageList(owner) {
  SetWidth(size);
  SetHeight(size);
  FFirstResource = firstResource;
  FLastResource = lastResource;
  if (InState(csDesigning)) LoadImages();
}

void TQCustomImageList::Loaded() {
  TImageList::Loaded();
  if (!InState(csDesigning)) {
    Clear();
    LoadImages();
  }
}

void TQCustomImageList::LoadImages() {}

const TMetaClass& TQ16x16ImageList::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TQ16x16ImageList>("TQ16x16ImageList");
  return cls;
}

TQ16x16ImageList::TQ16x16ImageList(TComponent* owner) : TQCustomImageList(owner, 16, 3000, 3088) {}

const TMetaClass& TQ20x20ImageList::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TQ20x20ImageList>("TQ20x20ImageList");
  return cls;
}

TQ20x20ImageList::TQ20x20ImageList(TComponent* owner) : TQCustomImageList(owner, 20, 2000, 2087) {}

const TMetaClass& TQ24x24ImageList::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TQ24x24ImageList>("TQ24x24ImageList");
  return cls;
}

TQ24x24ImageList::TQ24x24ImageList(TComponent* owner) : TQCustomImageList(owner, 24, 1000, 1087) {}

void RegisterQImageListClasses() {
  RegisterClasses({&TImageList::StaticClass(), &TQCustomImageList::StaticClass(),
                   &TQ16x16ImageList::StaticClass(), &TQ20x20ImageList::StaticClass(),
                   &TQ24x24ImageList::StaticClass()});
}
