// A form page whose rows come from an XML resource of type "Form" instead of a dialog
// template: the constructor reads the resource into the form model.
#pragma once

#include "forms/CScrollPage.h"
#include "forms/FormModel.h"

class CXmlForm : public CScrollPage {
public:
    // A missing, empty or unreadable resource leaves the form without elements.
    CXmlForm(UINT formResourceId, UINT templateId, CWnd* parent);

    // An element with fields of that id, or null.
    FormElement* FindElement(int32_t id) const { return m_model.FindElement(id); }

    const FormModel& GetModel() const { return m_model; }

protected:
    // The y where the first row starts; a derived page sets it before the form initialises.
    int m_topOffset = 0;
    FormModel m_model;

private:
    void ReadFormResource(UINT formResourceId);
};
