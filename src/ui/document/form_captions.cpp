#include "ui/document/form_captions.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <stdexcept>

#include "texts/messages.h"

namespace pelodyn {

namespace {

// The tab control whose page `w` is; a page sits in the control's stack.
QTabWidget* TabsOf(QWidget* w) {
  QWidget* stack = w->parentWidget();
  auto* tabs = qobject_cast<QTabWidget*>(stack ? stack->parentWidget() : nullptr);
  return tabs && tabs->indexOf(w) >= 0 ? tabs : nullptr;
}

}  // namespace

void FormCaptions::resolve(QWidget& root, std::span<const FormText> texts) {
  m_targets.clear();
  for (const FormText& t : texts) {
    const QString name = QString::fromLatin1(t.name);
    if (name == root.objectName()) {
      m_targets.push_back({&root, Kind::Title, &t});
    } else if (auto* w = root.findChild<QWidget*>(name); w && TabsOf(w)) {
      m_targets.push_back({w, Kind::Tab, &t});
    } else if (auto* label = root.findChild<QLabel*>(name)) {
      m_targets.push_back({label, Kind::Label, &t});
    } else if (auto* button = root.findChild<QAbstractButton*>(name)) {
      m_targets.push_back({button, Kind::Button, &t});
    } else if (auto* group = root.findChild<QGroupBox*>(name)) {
      m_targets.push_back({group, Kind::Group, &t});
    } else {
      throw std::logic_error("window " + root.objectName().toStdString() + " has no control " + std::string(t.name) +
                             " to caption");
    }
  }
}

void FormCaptions::apply(std::uint8_t language) const {
  for (const Target& t : m_targets) {
    const QString text = QString::fromUtf8(language == kLanguageThai ? t.text->thai : t.text->english);
    switch (t.kind) {
      case Kind::Title:
        t.widget->setWindowTitle(text);
        break;
      case Kind::Tab:
        if (QTabWidget* tabs = TabsOf(t.widget)) tabs->setTabText(tabs->indexOf(t.widget), text);
        break;
      case Kind::Label:
        static_cast<QLabel*>(t.widget)->setText(text);
        break;
      case Kind::Button:
        static_cast<QAbstractButton*>(t.widget)->setText(text);
        break;
      case Kind::Group:
        static_cast<QGroupBox*>(t.widget)->setTitle(text);
        break;
    }
  }
}

}  // namespace pelodyn
