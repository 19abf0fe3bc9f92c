#pragma once

#include "windows/DichoticSeries.h"

// Dichotic listening, series 1: channel A reaches ear A.
class TForm5 : public DichoticSeries
{
    Q_OBJECT
public:
    explicit TForm5(Session &session, QWidget *owner = nullptr);

private:
    void Button14Click() override;
};

using ListeningSeries1Window = TForm5;
