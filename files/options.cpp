// A game's own options: a small text file of "name = value" lines, written through the same
// replacement as hwconfig.cfg and read line by line, each line it cannot take skipped and named.
#include "files/files.h"
#include "files/messages.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

constexpr int maxskippedlines = 8;  // named one by one; more are counted in one last line

bool isnamecharacter(char c)
{
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '.';
}

bool validname(const char *name)
{
  if (!name || !name[0])
    return false;
  for (const char *c = name; *c; ++c)
    if (!isnamecharacter(*c))
      return false;
  return true;
}

bool validoption(const gameoption &option)
{
  const int kinds = (option.integer != nullptr) + (option.number != nullptr) +
                    (option.text != nullptr && option.textsize > 0);
  return validname(option.name) && kinds == 1 && (!option.number || std::isfinite(*option.number));
}

// numbers are written and read with a point whatever locale the game set, so that a file moves
// between players
class pointnumbers {
public:
  pointnumbers()
      : c(newlocale(LC_NUMERIC_MASK, "C", nullptr)), previous(c ? uselocale(c) : nullptr) {}
  ~pointnumbers()
  {
    if (c) {
      uselocale(previous);
      freelocale(c);
    }
  }
  pointnumbers(const pointnumbers &) = delete;
  pointnumbers &operator=(const pointnumbers &) = delete;

private:
  locale_t c, previous;
};

// [SECTION] writing

// a text in quotes: a backslash, a quote and the control characters escaped, every other byte
// (UTF-8 included) as it is
void appendquoted(std::string &line, const char *text, size_t size)
{
  line += '"';
  for (size_t i = 0; i < size && text[i]; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    char escaped[5];
    if (c == '\\' || c == '"')
      line += '\\', line += char(c);
    else if (c < 0x20 || c == 0x7F)
      snprintf(escaped, sizeof escaped, "\\x%02X", c), line += escaped;
    else
      line += char(c);
  }
  line += '"';
}

void appendoption(std::string &file, const gameoption &option)
{
  char value[32];
  file += option.name;
  file += " = ";
  if (option.integer) {
    snprintf(value, sizeof value, "%d", int(*option.integer));
    file += value;
  } else if (option.number) {
    const pointnumbers point;
    snprintf(value, sizeof value, "%.9g", double(*option.number));  // read back to the same bits
    file += value;
  } else {
    appendquoted(file, option.text, option.textsize);
  }
  file += '\n';
}

// [SECTION] reading

const gameoption *findoption(const std::string &name, const gameoption *options, int count)
{
  for (int i = 0; i < count; ++i)
    if (validoption(options[i]) && name == options[i].name)
      return &options[i];
  return nullptr;
}

int hexdigit(char c)
{
  return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                               : -1;
}

// the quoted text that value holds, unescaped; null when taken, else why not
const char *unquote(const std::string &value, std::string &text)
{
  if (value.size() < 2 || value.front() != '"' || value.back() != '"')
    return "a text not in quotes";
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    char c = value[i];
    if (c == '"')
      return "a quote inside the text";
    if (c == '\\') {
      const char next = i + 2 < value.size() ? value[++i] : '\0';
      const int high = next == 'x' && i + 2 < value.size() - 1 ? hexdigit(value[i + 1]) : -1;
      const int low = high >= 0 ? hexdigit(value[i + 2]) : -1;
      if (next == '\\' || next == '"')
        c = next;
      else if (low >= 0 && (high || low))
        c = char(high * 16 + low), i += 2;
      else
        return "an unknown escape";
    }
    text += c;
  }
  return nullptr;
}

// value into the option's variable; null when taken, else why not, the variable untouched
const char *takevalue(const gameoption &option, const std::string &value)
{
  const char *begin = value.c_str();
  char *end = nullptr;
  errno = 0;
  if (option.integer) {
    const long number = strtol(begin, &end, 10);
    if (end == begin || *end || errno || number < INT32_MIN || number > INT32_MAX)
      return "not a whole number in range";
    *option.integer = int32_t(number);
  } else if (option.number) {
    const pointnumbers point;
    const float number = strtof(begin, &end);  // ERANGE for the smallest ones, which are kept
    if (end == begin || *end || !std::isfinite(number))
      return "not a finite number";
    *option.number = number;
  } else {
    std::string text;
    if (const char *why = unquote(value, text))
      return why;
    if (text.size() >= option.textsize)
      return "a text too long for its variable";
    memcpy(option.text, text.c_str(), text.size() + 1);
  }
  return nullptr;
}

std::string trimmed(const std::string &text)
{
  const size_t first = text.find_first_not_of(" \t\r"), last = text.find_last_not_of(" \t\r");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// one line into its option; null when taken or a comment, else why it was skipped
const char *takeline(const std::string &line, const gameoption *options, int count, bool &taken)
{
  taken = false;
  const std::string whole = trimmed(line);
  if (whole.empty() || whole[0] == '#')
    return nullptr;
  const size_t equals = whole.find('=');
  if (equals == std::string::npos)
    return "no '=' in it";
  const std::string name = trimmed(whole.substr(0, equals));
  const gameoption *option = findoption(name, options, count);
  if (!option)
    return "no such option";
  const char *why = takevalue(*option, trimmed(whole.substr(equals + 1)));
  taken = !why;
  return why;
}

}  // namespace

gameoption integeroption(const char *name, int32_t *variable)
{
  return {name, variable, nullptr, nullptr, 0};
}

gameoption numberoption(const char *name, float *variable)
{
  return {name, nullptr, variable, nullptr, 0};
}

gameoption textoption(const char *name, char *text, size_t size)
{
  return {name, nullptr, nullptr, text, size};
}

int savegameoptions(const char *path, const gameoption *options, int count)
{
  if (!path || count < 0 || (count && !options))
    return EINVAL;
  std::string file = "# a game's options, one a line: name = value\n";
  for (int i = 0; i < count; ++i) {
    if (!validoption(options[i]))
      return EINVAL;
    appendoption(file, options[i]);
  }
  if (file.size() > size_t(maxoptionsfilebytes))
    return EFBIG;  // the load would refuse the whole file
  return replacefile(path, reinterpret_cast<const unsigned char *>(file.data()), file.size());
}

int loadgameoptionsbytes(const unsigned char *bytes, size_t size, const gameoption *options,
                         int count, const char *name)
{
  if (!bytes && size)
    return 0;
  const std::string file(reinterpret_cast<const char *>(bytes), size);
  int taken = 0, skipped = 0, number = 0;
  for (size_t start = 0; start < file.size(); ++number) {
    const size_t end = std::min(file.find('\n', start), file.size());
    bool took;
    const std::string line = file.substr(start, end - start);
    const char *why = line.find('\0') != std::string::npos ? "a zero byte in it"
                                                           : takeline(line, options, count, took);
    start = end + 1;
    taken += why ? 0 : took;
    if (why && ++skipped <= maxskippedlines)
      reportmessage("%s: line %d skipped: %s", name ? name : "options", number + 1, why);
  }
  if (skipped > maxskippedlines)
    reportmessage("%s: %d more lines skipped", name ? name : "options",
                  skipped - maxskippedlines);
  return taken;
}

int loadgameoptions(const char *path, const gameoption *options, int count)
{
  filebytes file;
  if (!path || !readfilebytes(path, file, maxoptionsfilebytes + 1))
    return -1;
  if (file.size > size_t(maxoptionsfilebytes)) {
    reportmessage("%s: larger than %lld bytes; not read", path, (long long)maxoptionsfilebytes);
    return -1;
  }
  return loadgameoptionsbytes(file.data, file.size, options, count, path);
}
