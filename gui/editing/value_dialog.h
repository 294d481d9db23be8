#pragma once
// The value dialog asks for the one value of a run entry, an icon or a label.

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kmr::gui {

class Prompts;
class CommandComposer;
struct EditState;

// What the dialog asks for; the mode sets its label, its check box and what "Editar" does.
enum class ValueMode {
    Program,  // "Programa a ejecutar:", "Recurso con programa asociado" shown, "Editar" opens the builder's chooser
    Icon,     // "Icono a mostrar:", check box hidden, "Editar" opens the builder's icon page
    Label,    // "Etiqueta a mostrar:", check box hidden, "Editar" disabled until the dialog closes
};

class ValueDialog : public QDialog {
    Q_OBJECT
public:
    ValueDialog(EditState& state, Prompts& prompts, CommandComposer& builder, QWidget* parent = nullptr);

    // Prepares the next showing: the mode, the field's text and, in program mode, whether the run
    // entry is a resource.
    void setUp(ValueMode mode, const QString& value, bool resource = false);
    ValueMode mode() const { return m_mode; }
    QString value() const;
    // "Recurso con programa asociado"; meaningful in program mode only.
    bool resource() const;

    // "Aceptar": refuses an empty field, else accepts. "Cancelar" is reject(), which leaves the
    // edit context alone, as the close box does.
    void tryAccept();
    // "Editar", bound by the mode: the command builder composes the value.
    void composeValue();

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    EditState& m_state;
    Prompts& m_prompts;
    CommandComposer& m_builder;
    ValueMode m_mode = ValueMode::Program;
    QLabel* m_label;
    QLineEdit* m_value;
    QPushButton* m_edit;
    QCheckBox* m_resource;
};

}  // namespace kmr::gui
