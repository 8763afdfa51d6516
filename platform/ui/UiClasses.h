// Registration of the window layer's classes, so that form resources can name them.
#pragma once

// Registers TForm, TPanel, TLabel, TButton, TBitBtn, TEdit, TComboBox, TPageControl, TTabSheet,
// TDataSource, TDBText, TOpenDialog and TOpenPictureDialog. Programs call it at start-up; calling it
// again does no harm.
void RegisterUiClasses();
