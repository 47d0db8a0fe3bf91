// What the wizards and dialogs share: the edit box for TeX text, catalogue
// names as Qt text, wrapped labels, the help window of a modal dialog and the
// wizard pictures.
#pragma once

#include <QDialogButtonBox>
#include <QPixmap>
#include <QString>

#include <string>
#include <string_view>

class QDialog;
class QLabel;
class QLineEdit;
class QTableView;
class QWizard;
class QVBoxLayout;
class QWidget;

namespace qvn {

// The edit box for keys, field values and string values: a CTexEdit over
// the open project's strings; `fieldName` names the field in its picker.
QLineEdit* CreateTexEdit(QWidget* parent, const QString& fieldName = {});

// A name or description of the catalogue (plain ASCII).
QString CatalogueText(std::string_view text);

// A label that wraps its text; `buddy` receives the focus of its "&" key.
QLabel* CreateWrappedLabel(const QString& text, QWidget* parent, QWidget* buddy = nullptr);

// OK and Cancel (and `extra` buttons) wired to accept and reject, OK the
// default button.
QDialogButtonBox* CreateButtonBox(QDialog* dialog, QDialogButtonBox::StandardButtons extra = {});

// A hint under a box: in the palette's secondary text colour.
void MakeSecondaryText(QWidget* label);

// Lays `dialog` out as a header band across the top and a body below with
// the usual margins; returns the body's layout.
QVBoxLayout* CreateHeaderLayout(QWidget* dialog, QWidget* header);

// A list of rows in columns: grid lines, one whole row selected at a time,
// no row numbers, no sorting.
void SetupReportView(QTableView* view);

// Shows a help page above a modal dialog: the window belongs to the dialog,
// so the dialog's modality does not block it.
void ShowDialogHelp(QWidget* dialog, const QString& topic);

// Shows the wizard's first page and fixes its height to that of the side
// picture (which does not stretch); the width stays free.
void StartWizard(QWizard* wizard, int minimumWidth);

// The Help button of a dialog's button box (and F1) opens `topic`.
void ConnectHelp(QDialogButtonBox* buttons, QWidget* dialog, const QString& topic);

// The tall picture of a wizard's first page and the icon of its headers.
QPixmap WizardSidePixmap();
QPixmap WizardHeaderPixmap();

} // namespace qvn
