// Version text shown by the splash window and the about box.
extern const char16_t* const kVersionText = u"版本号: 0.9 Beta";
