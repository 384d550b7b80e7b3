#pragma once

#include <QObject>

// Marks where the handling of one user action begins and ends, so that the
// window's undo history can take it as one step. Subsystems open a
// UserAction around what they do; handlings nest, and only the outermost
// counts.
class UserActions : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // `typedBox` names the value box (0..2) whose typing the action is, or -1.
    void began(int typedBox);
    void ended();
};

class UserAction {
public:
    explicit UserAction(UserActions &actions, int typedBox = -1) : m_actions(actions)
    {
        emit m_actions.began(typedBox);
    }
    ~UserAction() { emit m_actions.ended(); }
    UserAction(const UserAction &) = delete;
    UserAction &operator=(const UserAction &) = delete;

private:
    UserActions &m_actions;
};
