// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessible.h"

#include "ui/chrome.h"
#include "ui/command_button.h"
#include "ui/skin.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QMouseEvent>

namespace pf {

namespace {

bool Shows(const Picture* p, const QPixmap& stock)
{
    return p->Pixmap().cacheKey() == stock.cacheKey();
}

// Posted, so that a command opening a modal window does not hold the screen reader's call.
void Post_Click(QWidget* w)
{
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        w, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

class Control_Accessible : public QAccessibleWidget {
public:
    explicit Control_Accessible(QWidget* w) : QAccessibleWidget(w) {}

    QAccessible::Role role() const override
    {
        if (qobject_cast<const Command_Label*>(object()))
            return QAccessible::Button;
        const auto* p = qobject_cast<const Picture*>(object());
        if (!p)
            return QAccessible::StaticText;
        if (!p->Pressable())
            return QAccessible::Graphic;
        return Shows(p, Stock().Img_Opt_On) || Shows(p, Stock().Img_Opt_Off) ? QAccessible::RadioButton
                                                                             : QAccessible::Button;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (role() == QAccessible::RadioButton) {
            s.checkable = true;
            s.checked = Shows(static_cast<const Picture*>(object()), Stock().Img_Opt_On);
        }
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        if (const auto* label = qobject_cast<const QLabel*>(object()))
            return label->text().trimmed();
        return widget()->toolTip();
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (Can_Press())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction() && Can_Press())
            Post_Click(widget());
        else
            QAccessibleWidget::doAction(name);
    }

private:
    bool Can_Press() const
    {
        if (const auto* p = qobject_cast<const Picture*>(object()))
            return p->Pressable();
        if (const auto* c = qobject_cast<const Caption_Label*>(object()))
            return c->Pressable();
        return true;  // a command label
    }
};

QAccessibleInterface* Control_Factory(const QString&, QObject* object)
{
    if (qobject_cast<Picture*>(object) || qobject_cast<Command_Label*>(object) || qobject_cast<Caption_Label*>(object))
        return new Control_Accessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void Install_Accessible_Controls()
{
    static const bool Installed = [] {
        QAccessible::installFactory(&Control_Factory);
        return true;
    }();
    Q_UNUSED(Installed)
}

}  // namespace pf
