#pragma once

#include <QString>

class Dataset;
class Report;

// The top of the opening report and of the withdrawal receipt, which share it: the centred title,
// the event header, the moment (date | time) and the till number.
void addTillReportHeader(Report& report, int band, const QString& title, const QString& momentName,
                         const QString& momentCaption, double momentCaptionWidth, Dataset* festa);
