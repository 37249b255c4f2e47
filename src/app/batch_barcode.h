// The barcode options the unattended label and envelope runs share: --barcode and the
// Intelligent Mail values for the run.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include "labels/barcode_run.h"

namespace qb::batch {

const QList<QCommandLineOption>& barcodeOptions();
// Their usage line, to follow a command's own options.
QString barcodeOptionsUsage();
// The options given into `into`; an error text when one is wrong.
QString readBarcodeOptions(const QCommandLineParser& arguments, labels::BarcodeOverrides& into);

}  // namespace qb::batch
