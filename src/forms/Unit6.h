#pragma once

#include "windows/DichoticSeries.h"

// Dichotic listening, series 2: the headphones are turned around, so channel B
// reaches ear A; the results over both series are computed here.
class TForm6 : public DichoticSeries
{
    Q_OBJECT
public:
    explicit TForm6(Session &session, QWidget *owner = nullptr);

private:
    void Button14Click() override;
};

using ListeningSeries2Window = TForm6;
