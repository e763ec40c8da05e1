#pragma once

#include <QObject>

// The help-context interface: a control that has a help context implements it, and the GUI
// routines ask any object for it by its identifier (qobject_cast<IQTORVAHelp*>). The identifier
// is compared as text, so it works across the program and the libraries. A class implementing
// it needs Q_OBJECT and Q_INTERFACES(IQTORVAHelp).
class IQTORVAHelp {
public:
    virtual ~IQTORVAHelp() = default;
    // The help context number; 0 for none.
    virtual int GetHelpContextTORVA() const = 0;
};

#define IQTORVAHelp_iid "{2DE9ACC8-6DA8-4A5E-8858-42105DA11966}"
Q_DECLARE_INTERFACE(IQTORVAHelp, IQTORVAHelp_iid)
