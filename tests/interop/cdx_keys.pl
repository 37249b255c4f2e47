#!/usr/bin/perl
# Lists every entry of one tag of a compound index, as an independent reader sees it:
# key (trailing blanks removed) TAB record number, in index order.
use strict;
use warnings;
use XBase::Index;
my ($file, $tag, $type) = @ARGV;
my $i = XBase::Index->new($file, tag => $tag, type => $type) or die XBase::Index->errstr;
$i->prepare_select;
binmode STDOUT;
while (my ($k, $r) = $i->fetch) {
    $k =~ s/ +$// if $type eq 'C';
    print "$k\t$r\n";
}
