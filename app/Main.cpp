// Entry point: the application object, the main window, the message loop.
#include <windows.h>

#include "app/DMa.h"
#include "app/Form1.h"
#include "framework/forms/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  new TApplication(nullptr);
  Application->Initialize();
  Application->SetTitle(u"青禾词典");
  Application->CreateForm(Form1);
  Application->CreateForm(DMa);  // opens the database
  Application->Run();
  // The forms go with the application.
  FreeObject(Application);
  return 0;
}
