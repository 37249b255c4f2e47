#!/usr/bin/perl
# Lists the entries of a compact single-order index file: key TAB record number, in order.
# The reader's own compact-index class expects a compound file, so its tag walk is skipped.
use strict;
use warnings;
use XBase::Index;
package CompactIdx; our @ISA = ('XBase::cdx');
sub read_header { my ($s, %o) = @_; $s->{tag} = 'IDX';
  my $r = $s->SUPER::read_header(%o); $s->{key_type} = ($o{type} || 'C') =~ /^[NDF]$/ ? 1 : 0; $r }
package CompactIdx::Page; our @ISA = ('XBase::cdx::Page');
package main;
my $ix = CompactIdx->new($ARGV[0], type => $ARGV[1] || 'C') or die CompactIdx->errstr;
print STDERR "key: $ix->{key_string}  K=$ix->{key_length}\n";
$ix->prepare_select;
binmode STDOUT;
while (my ($k, $r) = $ix->fetch) { $k =~ s/ +$//; print "$k\t$r\n" }
