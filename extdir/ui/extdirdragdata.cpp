#include "extdir/ui/extdirdragdata.h"

#include <QJsonArray>

#include "extdir/extdiritems.h"

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QJsonArray Texts(const std::vector<std::string>& texts) {
  QJsonArray array;
  for (const std::string& t : texts) array.append(Q(t));
  return array;
}

std::vector<std::string> Texts(const QJsonValue& value) {
  std::vector<std::string> texts;
  for (const QJsonValue& v : value.toArray()) texts.push_back(v.toString().toStdString());
  return texts;
}

QJsonArray Entries(const std::vector<velk::ExtDirFieldEntry>& entries) {
  return Texts(velk::JoinFieldEntries(entries));
}

void Take(const QJsonObject& f, const char* key, std::string& to) {
  if (f.contains(QLatin1String(key))) to = f.value(QLatin1String(key)).toString().toStdString();
}

template <class Number>
void Take(const QJsonObject& f, const char* key, Number& to) {
  if (f.contains(QLatin1String(key))) to = static_cast<Number>(f.value(QLatin1String(key)).toInt());
}

}  // namespace

QJsonObject LeafFields(const velk::CExtDirItemGRILeaf& l) {
  return QJsonObject{
      {"LeafID", Q(l.ID)},
      {"DisplayName", Q(l.displayName)},
      {"Description2", Q(l.Description2)},
      {"LeafName", Q(l.LeafName)},
      {"Status", l.Status},
      {"Version", l.Version},
      {"Direction", Q(l.Direction)},
      {"ValidUntil", Q(l.ValidUntil)},
      {"TrackingAllowed", l.TrackingAllowed ? 1 : 0},
      {"Duration", l.Duration},
      {"DurationUnit", l.DurationUnit},
      {"PublishTo", l.PublishTo},
      {"PublishReader", Texts(l.PublishReader)},
      {"InputFields", Entries(l.InputFields)},
      {"InputDocTypeID", Q(l.InputDocTypeID)},
      {"OutputFields", Entries(l.OutputFields)},
      {"OutputDocTypeID", Q(l.OutputDocTypeID)},
      {"FormatServer", Q(l.FormatServer)},
      {"HeaderID", Q(l.HeaderID)},
      {"ReferencedByWFNode", Texts(l.ReferencedByWFNode)},
      {"Reserved", l.reserved},
      {"ReservedText", Q(l.reservedText)},
      {"WorkflowID", Q(l.workflowId)},
  };
}

void ReadLeafFields(const QJsonObject& f, velk::CExtDirItemGRILeaf& l) {
  Take(f, "DisplayName", l.displayName);
  Take(f, "Description2", l.Description2);
  Take(f, "LeafName", l.LeafName);
  Take(f, "Status", l.Status);
  Take(f, "Version", l.Version);
  Take(f, "Direction", l.Direction);
  Take(f, "ValidUntil", l.ValidUntil);
  int tracking = l.TrackingAllowed ? 1 : 0;
  Take(f, "TrackingAllowed", tracking);
  l.TrackingAllowed = tracking != 0;
  Take(f, "Duration", l.Duration);
  Take(f, "DurationUnit", l.DurationUnit);
  Take(f, "PublishTo", l.PublishTo);
  l.PublishReader = Texts(f.value(QLatin1String("PublishReader")));
  l.InputFields = velk::SplitFieldEntries(Texts(f.value(QLatin1String("InputFields"))));
  Take(f, "InputDocTypeID", l.InputDocTypeID);
  l.OutputFields = velk::SplitFieldEntries(Texts(f.value(QLatin1String("OutputFields"))));
  Take(f, "OutputDocTypeID", l.OutputDocTypeID);
  Take(f, "FormatServer", l.FormatServer);
  Take(f, "HeaderID", l.HeaderID);
  l.ReferencedByWFNode = Texts(f.value(QLatin1String("ReferencedByWFNode")));
  Take(f, "Reserved", l.reserved);
  Take(f, "ReservedText", l.reservedText);
  Take(f, "WorkflowID", l.workflowId);
}

QJsonObject PersonFields(const velk::CExtDirItemExtRegOrg& p) {
  return QJsonObject{
      {"FullName", Q(p.FullName)},
      {"CompanyName", Q(p.CompanyName)},
      {"Department", Q(p.Department)},
      {"HTTPPassword", Q(p.HTTPPassword)},
      {"MailAddress", Q(p.MailAddress)},
      {"OfficeStreetAddress", Q(p.OfficeStreetAddress)},
      {"OfficeCity", Q(p.OfficeCity)},
      {"OfficeState", Q(p.OfficeState)},
      {"OfficeZIP", Q(p.OfficeZIP)},
      {"OfficeCountry", Q(p.OfficeCountry)},
      {"OfficeNumber", Q(p.OfficeNumber)},
      {"WebSite", Q(p.WebSite)},
  };
}
