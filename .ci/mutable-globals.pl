#!/usr/bin/perl
# Prints "file: text" for every variable with static storage that a source file can
# change: a static or thread_local local or member, or a non-const variable at
# namespace scope. A pattern check, not a parser: it errs on the side of listing.
use strict;
use warnings;
while (my $t = <>) {
  chomp $t;
  next if $t =~ m{^\s*(//|\*|/\*|#)};
  my $hit = 0;
  if ($t =~ /^\s*(static|thread_local)\s+(?!const\b|constexpr\b|inline\s+const|inline\s+constexpr)/) {
    # A variable, not a function: the declaration ends the line, and no "(" comes
    # before its initialiser once template arguments are set aside.
    my $head = $t;
    1 while $head =~ s/<[^<>]*>//;
    $head =~ s/\s*(=|\{).*$//;
    $hit = 1 if ($t =~ /;\s*(\/\/.*)?$/ && $head !~ /\(/) || $t =~ /=\s*\[/;
  } elsif ($t =~ /^(?!(const|constexpr|using|typedef|return|namespace|extern|struct|class|enum|template|friend|static|inline|void|case|default|public|private|protected)\b)[A-Za-z_][\w:<>,* &]*[\s*&]+[A-Za-z_]\w*\s*(=\s*[^=].*|\{[^}]*\})?;\s*(\/\/.*)?$/) {
    $hit = 1;
  }
  if ($hit) {
    (my $text = $t) =~ s/^\s+|\s+$//g;
    print "$ARGV: $text\n";
  }
} continue {
  close ARGV if eof;
}
