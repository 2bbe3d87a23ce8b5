// A memo on the system's rich edit class (plain text is all it is given here).
#pragma once

#include "component/stdctrls.h"

class TRichEdit : public TCustomMemo {
    SRT_DECLARE_CLASS()
public:
    explicit TRichEdit(TComponent* owner) : TCustomMemo(owner) {}

protected:
    void CreateParams(TCreateParams& params) override;
};
