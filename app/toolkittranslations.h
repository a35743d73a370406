#pragma once
// The toolkit's own texts (the file, print and colour dialogs, the standard
// buttons) in Russian, whatever the user's locale: the program speaks
// Russian only.
class QCoreApplication;

// Loads the toolkit's Russian translation (Debian: qt6-translations-l10n)
// from the toolkit's translations folder and installs it in `app`, which
// owns it. False when there is none: the dialogs then speak English.
bool installToolkitTranslations(QCoreApplication &app);
